#pragma once

#include <QDialog>
#include <QImage>

namespace torvane::gui {

// The picture area of the About window: the logo, premultiplied and painted with its alpha.
class LogoArea : public QWidget {
    Q_OBJECT
public:
    explicit LogoArea(QWidget* parent = nullptr);
    // Loads the logo; a missing or unreadable file leaves the area empty. Returns false then.
    bool load(const QString& path);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_; // premultiplied ARGB32
};

// Each colour channel times alpha / 255 (integer division), as the logo is blended.
QImage premultipliedLogo(const QImage& source);

// "About Software Torvane".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    LogoArea* logo() const { return logo_; }

private:
    LogoArea* logo_;
};

} // namespace torvane::gui
