#include "splash.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace tz::gui {

TFStart::TFStart(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("TAVO ZZ"));
    setFixedSize(443, 319);
    setMask(QRegion(rect(), QRegion::Ellipse));
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TFStart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(rect().center(), width() * 0.6);
    g.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    g.setColorAt(1, QColor(0x2d, 0x5b, 0x8c));
    p.fillRect(rect(), g);
    // a hook on its rope
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 3));
    p.drawLine(221, 20, 221, 95);
    QPainterPath hook;
    hook.moveTo(221, 95);
    hook.cubicTo(221, 130, 255, 130, 255, 108);
    p.setPen(QPen(QColor(0xe0, 0x9a, 0x10), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(hook);
    p.setPen(QColor(0x10, 0x2a, 0x48));
    QFont f = font();
    f.setPointSize(34);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 130, width(), 60), Qt::AlignCenter, QStringLiteral("TAVO ZZ"));
    f.setPointSize(11);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 190, width(), 24), Qt::AlignCenter, QStringLiteral("Evidence a revize zdvihacích zařízení"));
    p.drawText(QRect(0, 212, width(), 24), Qt::AlignCenter, QStringLiteral("a vázacích prostředků"));
    f.setPointSize(9);
    p.setFont(f);
    p.drawText(QRect(0, 250, width(), 20), Qt::AlignCenter, QStringLiteral("Načítám data…"));
}

void showAbout(QWidget *parent)
{
    QDialog d(parent);
    d.setWindowTitle(QStringLiteral("O Programu"));
    auto *lay = new QVBoxLayout(&d);
    auto *title = new QLabel(QStringLiteral("<h2>TAVO ZZ</h2>"));
    title->setAlignment(Qt::AlignCenter);
    lay->addWidget(title);
    auto *text = new QLabel(QStringLiteral("Evidence zdvihacích zařízení, vázacích prostředků, osob,<br>"
                                           "ocelových konstrukcí a prostředků proti pádu<br>a jejich revizí.<br><br>"
                                           "Verze 5.0.0"));
    text->setAlignment(Qt::AlignCenter);
    lay->addWidget(text);
    auto *bb = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(bb, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    lay->addWidget(bb);
    d.exec();
}

} // namespace tz::gui
