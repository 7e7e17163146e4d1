// The small pieces of the desktop program: the configuration-text conversion, the logo's
// premultiplication, the keys of the "Select Commands" and "Save Configuration" dialogs, and
// the port descriptions of "Serial Port Configuration".

#include "../support/sample_ports.h"
#include "gui/app/about_dialog.h"
#include "gui/app/command_line.h"
#include "gui/app/gui_texts.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/archive_format_dialog.h"
#include "gui/editor/config_type_dialog.h"
#include "gui/editor/save_changes_dialog.h"
#include "gui/editor/select_commands_dialog.h"
#include "platform/text_codec.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using namespace torvane;
using namespace torvane::gui;

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void configTextRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << QByteArray("Node-5") << QStringLiteral("Node-5");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("gb2312 text")
            << QByteArray("\xc6\xf4\xb6\xaf 1") << QStringLiteral("启动 1");
        QTest::newRow("four-byte gb18030")
            << QByteArray("\x81\x30\x89\x38") << QString(QChar(0x00DF)); // ß
    }

    void configTextRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const std::string stored(bytes.constData(), static_cast<size_t>(bytes.size()));
        QCOMPARE(platform::fromConfigText(stored), shown);
        QCOMPARE(platform::toConfigText(shown), stored);
    }

    // Bytes that do not decode survive a click on their cell, and are replaced only by an edit.
    void undecodableBytesSurviveAnUntouchedEdit() {
        const std::string stored("A\xff\xfe");
        const QString shown = platform::fromConfigText(stored);
        QCOMPARE(platform::toConfigText(shown, stored), stored);
        QCOMPARE(platform::toConfigText(shown + QLatin1Char('x'), stored).back(), 'x');
    }

    void logoIsPremultipliedWithIntegerDivision_data() {
        QTest::addColumn<uint>("argb");
        QTest::addColumn<uint>("expected");
        QTest::newRow("opaque") << 0xFF102030u << 0xFF102030u;
        QTest::newRow("transparent") << 0x00FFFFFFu << 0x00000000u;
        // 255 * 128 / 255 = 128; 1 * 128 / 255 = 0 (no rounding up); 200 * 128 / 255 = 100.
        QTest::newRow("half") << 0x80FF01C8u << 0x80800064u;
    }

    void logoIsPremultipliedWithIntegerDivision() {
        QFETCH(uint, argb);
        QFETCH(uint, expected);
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, argb);
        const QImage out = premultipliedLogo(image);
        QCOMPARE(out.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(reinterpret_cast<const QRgb*>(out.constScanLine(0))[0], QRgb(expected));
    }

    void selectCommandsKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("added");
        QTest::addColumn<bool>("open");
        QTest::newRow("Enter") << int(Qt::Key_Return) << QList<int>{1} << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << QList<int>{1} << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << QList<int>{} << false;
    }

    // Enter adds the selected kind and leaves the list open for more; Escape closes it.
    void selectCommandsKeys() {
        QFETCH(int, key);
        QFETCH(QList<int>, added);
        QFETCH(bool, open);
        QList<int> adds;
        SelectCommandsDialog dialog({QStringLiteral("Transmit PDO <- Profibus Out"),
                                     QStringLiteral("Receive PDO -> Profibus In")},
                                    [&adds](int k) { adds << k; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.list()->setCurrentRow(1);
        QTest::keyClick(dialog.list(), static_cast<Qt::Key>(key));
        QCOMPARE(dialog.isVisible(), open);
        QCOMPARE(adds, added);
    }

    // What the program makes of its arguments; the first one is its own name.
    void commandLine_data() {
        using A = CommandLine::Action;
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QString>("language");
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << QString() << false << QString();
        QTest::newRow("file") << QStringList{"a.chg"} << int(A::Run) << "a.chg" << false
                              << QString();
        QTest::newRow("demo and xml")
            << QStringList{"--demo", "b.xml"} << int(A::Run) << "b.xml" << true << QString();
        QTest::newRow("-h is no file")
            << QStringList{"-h"} << int(A::Help) << QString() << false << QString();
        QTest::newRow("unknown beats help") << QStringList{"x.chg", "--bogus", "--help"}
                                            << int(A::Error) << QString() << false << QString();
        QTest::newRow("version") << QStringList{"--version"} << int(A::Version) << QString()
                                 << false << QString();
        QTest::newRow("measure") << QStringList{"--measure-startup"} << int(A::MeasureStartup)
                                 << QString() << false << QString();
        QTest::newRow("Qt options pass")
            << QStringList{"-platform", "offscreen", "-reverse", "c.chg"} << int(A::Run) << "c.chg"
            << false << QString();
        QTest::newRow("dash file after --")
            << QStringList{"--", "-odd.chg"} << int(A::Run) << "-odd.chg" << false << QString();
        QTest::newRow("unknown") << QStringList{"--bogus"} << int(A::Error) << QString() << false
                                 << QString();
        QTest::newRow("language") << QStringList{"--lang", "zh_CN", "a.chg"} << int(A::Run)
                                  << "a.chg" << false << QStringLiteral("zh_CN");
        QTest::newRow("unknown language")
            << QStringList{"--lang", "zh"} << int(A::Error) << QString() << false << "zh";
        QTest::newRow("two files")
            << QStringList{"a.chg", "b.chg"} << int(A::Error) << QString() << false << QString();
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, file);
        QFETCH(bool, demo);
        QFETCH(QString, language);
        args.prepend(QStringLiteral("/usr/bin/torvane"));
        const CommandLine cl = parseCommandLine(args);
        QCOMPARE(int(cl.action), action);
        QCOMPARE(cl.file, file);
        QCOMPARE(cl.demo, demo);
        QCOMPARE(cl.language, language);
        if (cl.action == CommandLine::Action::Error || cl.action == CommandLine::Action::Help) {
            QVERIFY(cl.text.contains(QStringLiteral("Usage: torvane [options] [FILE]\n")));
            QVERIFY(!cl.text.contains(QStringLiteral("-platform")));
        }
    }

    // A file name that is not text in the locale's encoding reaches the document as its bytes.
    void commandLineFileKeepsItsBytes() {
        const std::string name = "caf\xE9.chg";
        std::string args[] = {"torvane", "--lang", "en", name};
        char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data()};
        const CommandLine cl = parseCommandLine(commandLineArguments(4, argv));
        QCOMPARE(cl.action, CommandLine::Action::Run);
        QCOMPARE(commandLineFilePath(cl.file, 4, argv), name);
        QCOMPARE(commandLineFilePath(QStringLiteral("plain.chg"), 4, argv),
                 std::string("plain.chg"));
    }

    // One version everywhere: the About window shows the one `torvane --version` prints.
    void aboutShowsTheProgramsVersion() {
        const CommandLine cl =
            parseCommandLine({QStringLiteral("torvane"), QStringLiteral("--version")});
        QVERIFY(cl.text.startsWith(QStringLiteral("torvane ")));
        const QString version = cl.text.mid(8).trimmed();
        AboutDialog about;
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("version"))->text(),
                 QStringLiteral("Version ") + version);
    }

    // Enter keeps the work: "Yes(&Y)" is the default button. Before an upload the question
    // also says what will replace the open configuration.
    void saveQuestionDefaultsToYes() {
        for (const bool upload : {false, true}) {
            SaveChangesDialog dialog(nullptr, upload);
            auto* yes = dialog.findChild<QPushButton*>(QStringLiteral("yes"));
            QVERIFY(yes != nullptr);
            QVERIFY(yes->isDefault());
            QCOMPARE(yes->text(), QStringLiteral("Yes(&Y)"));
            const QString question = dialog.findChild<QLabel*>(QStringLiteral("question"))->text();
            QCOMPARE(question.contains(ui(str::SaveBeforeUploadNote)), upload);
            QVERIFY(question.startsWith(ui(str::SaveConfigurationQuestion)));
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_Return);
            QCOMPARE(dialog.result(), int(SaveChangesDialog::Yes));
        }
    }

    // Each port keeps its text and gets the description of its adapter as a tooltip; the
    // selection and OK store the device as before.
    void serialPortTooltips() {
        // The description's wording is the port layer's own test.
        const std::vector<platform::PortDetails> ports = {samples::usbAdapter(),
                                                          samples::barePort("/dev/ttyS0"),
                                                          samples::barePort("/dev/pts/7")};
        SerialDialogState state;
        state.portIndex = 1;
        SerialDialog dialog(state, ports);
        QComboBox* box = dialog.portBox();
        QCOMPARE(box->count(), 3);
        for (int i = 0; i < 3; ++i) {
            const platform::PortDetails& port = ports[static_cast<std::size_t>(i)];
            QCOMPARE(box->itemText(i), QString::fromStdString(port.device));
            QCOMPARE(box->itemData(i, Qt::ToolTipRole).toString(),
                     QString::fromStdString(platform::describePort(port).english()));
        }
        QCOMPARE(box->currentIndex(), 1);
        box->setCurrentIndex(2);
        dialog.accept();
        QCOMPARE(state.selectedPort(), std::string("/dev/pts/7"));

        // The dialog as the program opens it looks the details up itself.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const std::string device = ptsname(master);
        SerialDialogState live;
        SerialDialog listed(live, std::vector<std::string>{device});
        QCOMPARE(listed.portBox()->itemText(0), QString::fromStdString(device));
        QCOMPARE(listed.portBox()->itemData(0, Qt::ToolTipRole).toString(),
                 QString::fromStdString(device));
        ::close(master);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
