#include "journal/ClassPresenceView.h"

#include <QLabel>
#include <QListWidget>

namespace {
const QString titleText = QStringLiteral("Сейчас в классе");
// Three cards side by side in the window's width, two lines each.
constexpr QSize cardSize(244, 36);
}  // namespace

ClassPresenceView::ClassPresenceView(QWidget* window) : QObject(window) {
    title = new QLabel(titleText, window);
    cards = new QListWidget(window);

    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    cards->setAccessibleName(titleText);
    cards->setFlow(QListView::LeftToRight);
    cards->setWrapping(true);
    cards->setResizeMode(QListView::Adjust);
    cards->setGridSize(cardSize);
    cards->setUniformItemSizes(true);
    cards->setSelectionMode(QAbstractItemView::NoSelection);
    cards->setFocusPolicy(Qt::NoFocus);
    cards->setTextElideMode(Qt::ElideRight);
    showPresence({});
}

void ClassPresenceView::showPresence(const QList<ComputerPresence>& presence) {
    shown_ = presence;
    title->setText(presence.isEmpty() ? titleText + QStringLiteral(": сегодня записей нет")
                                      : titleText);
    cards->clear();
    for (int line = 0; line < presence.size(); ++line) {
        const QStringList texts = lineTexts(line);
        auto* card = new QListWidgetItem(
            QStringLiteral("%1   %2\n%3 · оценки: %4").arg(texts[0], texts[1], texts[2], texts[3]),
            cards);
        card->setSizeHint(cardSize - QSize(4, 2));
        card->setToolTip(card->text());
        if (presence[line].inExperiment > 0) {
            QFont font = card->font();
            font.setBold(true);
            card->setFont(font);
        }
    }
}

QStringList ClassPresenceView::lineTexts(int line) const {
    if (line < 0 || line >= shown_.size()) return {};
    const ComputerPresence& p = shown_[line];
    return {p.computer, p.surname + QStringLiteral(", ") + p.group, presenceExperimentText(p),
            presenceGradesText(p)};
}
