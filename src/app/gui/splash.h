#pragma once
#include <QWidget>

namespace tz::gui {

// The start-up window: borderless, elliptic, centred on the screen.
class TFStart : public QWidget
{
    Q_OBJECT
public:
    explicit TFStart(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *) override;
};

// The about box "O Programu".
void showAbout(QWidget *parent);

} // namespace tz::gui
