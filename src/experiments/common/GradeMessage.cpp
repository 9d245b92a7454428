#include "experiments/common/GradeMessage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "journal/EvidenceTable.h"
#include "toolkit/MessageBoxes.h"

namespace {
GradeMessage::Hook gradeMessageHook;

const QString showDetailsText = QStringLiteral("Подробнее…");
const QString hideDetailsText = QStringLiteral("Скрыть подробности");
constexpr int DetailsWidth = 760;
}  // namespace

GradeMessage::GradeMessage(const GradeEvidence& evidence, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Реактикум"));
    messageText = new QLabel(gradeMessage(evidence.experiment, evidence.grade), this);
    okButton = new QPushButton(QStringLiteral("ОК"), this);
    detailsButton = new QPushButton(showDetailsText, this);
    detailsPane = new QWidget(this);
    summaryText = new QLabel(evidence.summary, detailsPane);
    detailsTable = new EvidenceTable(EvidenceTable::Reader::Student, detailsPane);

    summaryText->setWordWrap(true);
    detailsTable->setEvidence(evidence);
    detailsButton->setEnabled(!evidence.items.isEmpty() || !evidence.summary.isEmpty());
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    detailsButton->setAutoDefault(false);

    auto* details = new QVBoxLayout(detailsPane);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(summaryText);
    details->addWidget(detailsTable);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(detailsButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(messageText);
    layout->addWidget(detailsPane);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    detailsPane->hide();
    styleDialog(*this);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(detailsButton, &QPushButton::clicked, this,
            [this] { setDetailsShown(!detailsShown()); });
    okButton->setFocus();
}

bool GradeMessage::detailsShown() const {
    return !detailsPane->isHidden();
}

void GradeMessage::setDetailsShown(bool shown) {
    detailsPane->setVisible(shown);
    detailsButton->setText(shown ? hideDetailsText : showDetailsText);
    fitToContents();
}

// The table is as wide as the pane allows and as tall as its rows, within the screen.
void GradeMessage::fitToContents() {
    if (!detailsShown()) return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int maxHeight = screen ? screen->availableGeometry().height() / 2 : 400;
    detailsTable->setFixedWidth(DetailsWidth);
    summaryText->setFixedWidth(DetailsWidth);
    detailsTable->resizeRowsToContents();
    detailsTable->setFixedHeight(detailsTable->fittingHeight(maxHeight));
}

void GradeMessage::setHook(Hook hook) {
    gradeMessageHook = std::move(hook);
}

void showGradeMessage(const GradeEvidence& evidence) {
    if (gradeMessageHook) {
        GradeMessage box(evidence, QApplication::activeWindow());
        gradeMessageHook(box);
    }
    if (MessageRecorder::isRecording()) {
        showMessageBox(gradeMessage(evidence.experiment, evidence.grade));
        return;
    }
    GradeMessage box(evidence, QApplication::activeWindow());
    box.exec();
}
