#pragma once
// The preview window "Prohlížení sestavy před tiskem" (TFormSestP): the
// composed pages of a report one at a time at a zoom, page navigation, printing
// of the composed pages, saving them to files (text, RTF, SVG, HTML, PDF) and
// the report's own button.
//
//   TFormSestP w(rep);       // rep composed (TSestava::run)
//   w.exec();                // maximised, zoom 100 %, on the first page to print
//
// The pages shown are StartPage .. EndPage of the report (limited to the
// composed pages); printing or saving a range never removes composed pages.
#include "printdialogs.h"
#include "sestava.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;

namespace tz::rep::gui {

class PageView;

class TFormSestP : public QDialog {
    Q_OBJECT
public:
    explicit TFormSestP(TSestava &rep, int zoom = 100, QWidget *parent = nullptr);
    ~TFormSestP() override;

    static const QList<int> &zoomLevels();   // 32 % .. 300 %

    TSestava &report() const { return m_rep; }
    int currentPage() const { return m_page; }   // 1-based page number
    int firstPage() const { return m_first; }
    int lastPage() const { return m_last; }
    int zoom() const { return m_zoom; }
    // An unknown zoom counts as 100 %.
    void setZoom(int percent);
    // Goes to the page, limited to the first and the last page shown.
    void goToPage(int page);
    // "Oprava předlohy..." is offered only when the preview was opened from the designer.
    void setOpenedFromDesigner(bool on);
    bool editRequested() const { return m_editRequested; }

    // Writes the shown pages (or the current one) in an export format; shows
    // "Výstupní soubor se nepodařilo uložit." and returns false on failure.
    bool saveTo(const QString &format, const QString &path, bool currentOnly);
    // "Tisk náhledu...": the print dialog, then printing (or the PDF file).
    TSestError printPreview();

    // Replaceable for tests: the save dialog (title "Výběr souboru") and the
    // print dialog (returns TSestPrintDlg::Result, settings in and out).
    std::function<QString(const QString &filter, const QString &suffix)> chooseFile;
    std::function<int(TPrintDialogTyp &)> runPrintDialog;
    // The page number asked by "Zobrazit stránku ..." (default: an input box).
    std::function<std::optional<int>(int current)> askPage;

    QAction *action(const QString &objectName) const;
    QLabel *currentPageLabel() const { return m_currentLabel; }
    QLabel *pageCountLabel() const { return m_countLabel; }
    QScrollArea *scrollArea() const { return m_scroll; }
    // The current page as drawn on screen (white sheet at the zoom).
    QImage pageImage() const;
    QSize sheetSize() const;   // pixels at the zoom

Q_SIGNALS:
    void pageChanged(int page);

protected:
    void reject() override;   // Esc: "Oprava předlohy..." when offered, else "Zavřít náhled"

private:
    QAction *addAction(const QString &name, const QString &text, const QList<QKeySequence> &keys = {});
    void updateState();
    void saveDialog(const QString &format, const QString &filter, const QString &suffix, bool currentOnly);
    QString chooseFileDefault(const QString &filter, const QString &suffix);

    TSestava &m_rep;
    int m_first = 1, m_last = 1, m_page = 1;
    int m_zoom = 100;
    bool m_editRequested = false;
    QScrollArea *m_scroll = nullptr;
    PageView *m_view = nullptr;
    QLabel *m_currentLabel = nullptr;
    QLabel *m_countLabel = nullptr;
    QToolButton *m_zoomButton = nullptr;
    QActionGroup *m_zoomGroup = nullptr;
    QHash<QString, QAction *> m_actions;
};

} // namespace tz::rep::gui
