#include "reportwindows.h"

#include "progresswindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tz::rep::gui {

bool messageBox(MessageKind kind, const QString &caption, const QString &text)
{
    QWidget *parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (kind != MessageKind::Question) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return true;
    }
    QPushButton *yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void installReportWindows()
{
    setMessageHandler(&messageBox);
    setProgressHandler([](int record) { return ProgressWindow::instance().composing(record); });
    setProgressEndHandler([] { ProgressWindow::instance().finish(); });
    OutputBackend b;
    b.preview = [](TSestava &rep) {
        TFormSestP w(rep, 100, QApplication::activeWindow());
        w.exec();
        return seOK;
    };
    b.printerAvailable = [] { return !installedPrinters().isEmpty(); };
    b.print = [](TSestava &rep, const PrintRequest &request) { return printRequest(rep, request); };
    b.printerNames = [] {
        QStringList names;
        for (const PrinterEntry &p : installedPrinters())
            names << p.name;
        return names;
    };
    setOutputBackend(b);
}

} // namespace tz::rep::gui
