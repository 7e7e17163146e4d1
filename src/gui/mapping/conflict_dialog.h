#pragma once

#include "mapping/usage_tables.h"

#include <QDialog>

class QListWidget;
class QTableWidget;

namespace torvane::gui {

// "Conflict Detection": byte maps of the input and output buffers, coloured by how many of
// the checked commands use each byte. It only shows; the configuration is not changed.
class ConflictDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConflictDialog(const GatewayConfiguration& cfg, QWidget* parent = nullptr);

    QListWidget* commandList() const { return list_; }
    QTableWidget* grid(BufferSide side) const {
        return side == BufferSide::Input ? input_ : output_;
    }

private:
    void recolour();

    ByteUsageTables tables_;
    QListWidget* list_ = nullptr;
    QTableWidget* input_ = nullptr;
    QTableWidget* output_ = nullptr;
};

} // namespace torvane::gui
