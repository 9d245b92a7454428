#pragma once

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// A table of a paper. Its header row is repeated at the top of every page it runs onto; a cell
// wraps within its column, and a row is never split between two pages.
struct PaperTable {
    QStringList headers;              // empty: no header row
    QList<qreal> widths;              // shares of the text width, one per column
    QList<Qt::Alignment> alignments;  // one per column; a missing one is left
    QList<QStringList> rows;
    bool ruled = true;  // false: label and value pairs without lines
};

// One paper being drawn on a page device (a PDF file or a printer): A4 portrait with a wide left
// margin for filing, the laboratory's fonts, a position that moves down the page, page breaks
// that fall between lines and between table rows, and at the foot of every page a line of the
// paper's own and "Лист N из M". Lengths are in millimetres.
class Paper {
public:
    enum class Style { Title, Heading, Body, Cell, Small };

    static QPageLayout pageLayout();
    static QFont font(Style style);

    // Without a painter the paper only measures: the first pass, which counts the pages.
    Paper(QPagedPaintDevice& device, QPainter* painter, QString footer, int pageCount);

    // Wrapped to the text width (less indent); a page break falls between two lines.
    void text(const QString& text, Style style, Qt::Alignment alignment = Qt::AlignLeft,
              qreal indent = 0);
    void table(const PaperTable& table, qreal indent = 0);
    // The top of every paper: the laboratory's name on the right, the paper's title centred.
    void heading(const QString& title);
    void space(qreal millimetres);
    // Starts a new page unless this much still fits on the current one.
    void keepTogether(qreal millimetres);
    // A line to sign on and a line for the name, for each role, kept on one page.
    void signatureLines(const QStringList& roles);
    // Ends the last page (its foot line).
    void finish();

    int pageCount() const { return page_; }
    // False once a page could not be added (a printer that failed).
    bool ok() const { return ok_; }

private:
    qreal mm(qreal millimetres) const;
    qreal bottom() const;
    bool fits(qreal height) const;
    void newPage();
    void drawFoot();
    qreal rowHeight(const PaperTable& table, const QStringList& cells, const QFont& font,
                    qreal width) const;
    void drawRow(const PaperTable& table, const QStringList& cells, const QFont& font, qreal left,
                 qreal width, qreal height);

    QPagedPaintDevice& device_;
    QPainter* painter_;
    QString footer_;
    int pageCount_;
    int page_ = 1;
    qreal y_ = 0;
    bool ok_ = true;
};

// Draws a paper on device with its page layout: compose runs twice, first to count the pages,
// then to draw them. False when the device could not be painted on.
bool drawPaper(QPagedPaintDevice& device, const QString& footer,
               const std::function<void(Paper&)>& compose);
