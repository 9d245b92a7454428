#include "journal/EvidencePaper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "journal/Paper.h"
#include "lab/Numbers.h"

namespace {
// How far the evidence is drawn below the heading of its experiment.
constexpr qreal evidenceIndent = 6;
// Nesting deeper than this is shown as its text.
constexpr int deepest = 3;

QString valueText(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Bool:
            return value.toBool() ? QStringLiteral("да") : QStringLiteral("нет");
        case QJsonValue::Double:
            return formatGeneral(value.toDouble());
        case QJsonValue::String:
            return value.toString();
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            return QStringLiteral("—");
        case QJsonValue::Array: {
            QStringList items;
            for (const QJsonValue& item : value.toArray()) items << valueText(item);
            return items.join(QStringLiteral("; "));
        }
        case QJsonValue::Object:
            return QString::fromUtf8(
                QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    }
    return {};
}

bool isTableOfRecords(const QJsonArray& array) {
    if (array.isEmpty()) return false;
    for (const QJsonValue& item : array)
        if (!item.isObject()) return false;
    return true;
}

// An array of records as a table: one column per name, in the order the names first appear.
PaperTable recordTable(const QJsonArray& records) {
    PaperTable table;
    for (const QJsonValue& item : records)
        for (const QString& key : item.toObject().keys())
            if (!table.headers.contains(key)) table.headers << key;
    for (qsizetype c = 0; c < table.headers.size(); ++c) {
        table.widths << 1;
        table.alignments << Qt::AlignHCenter;
    }
    for (const QJsonValue& item : records) {
        const QJsonObject record = item.toObject();
        QStringList cells;
        for (const QString& key : table.headers) cells << valueText(record.value(key));
        table.rows << cells;
    }
    return table;
}

void drawValue(Paper& paper, const QString& name, const QJsonValue& value, int depth);

void drawObject(Paper& paper, const QJsonObject& object, int depth) {
    // Plain values together in one table of name and value; tables and groups after it.
    PaperTable plain;
    plain.headers = QStringList{QStringLiteral("Показатель"), QStringLiteral("Значение")};
    plain.widths = {3, 2};
    plain.alignments = {Qt::AlignLeft, Qt::AlignHCenter};
    for (auto it = object.begin(); it != object.end(); ++it) {
        const bool nested = it.value().isObject() ||
                            (it.value().isArray() && isTableOfRecords(it.value().toArray()));
        if (!nested || depth >= deepest) plain.rows << QStringList{it.key(), valueText(*it)};
    }
    if (!plain.rows.isEmpty()) paper.table(plain, evidenceIndent);
    if (depth >= deepest) return;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const bool nested = it.value().isObject() ||
                            (it.value().isArray() && isTableOfRecords(it.value().toArray()));
        if (nested) drawValue(paper, it.key(), *it, depth + 1);
    }
}

void drawValue(Paper& paper, const QString& name, const QJsonValue& value, int depth) {
    if (!name.isEmpty()) {
        paper.keepTogether(14);
        paper.text(name, Paper::Style::Body, Qt::AlignLeft, evidenceIndent);
    }
    if (value.isObject()) {
        drawObject(paper, value.toObject(), depth);
    } else if (value.isArray() && isTableOfRecords(value.toArray())) {
        paper.table(recordTable(value.toArray()), evidenceIndent);
    } else {
        paper.text(valueText(value), Paper::Style::Body, Qt::AlignLeft, evidenceIndent);
    }
}

// The laboratory's own evidence: one line per thing the student entered or chose, with what was
// expected and what it counted for; the same columns the teacher's view shows.
bool drawItems(Paper& paper, const QJsonArray& items) {
    PaperTable table;
    table.headers = {QStringLiteral("Что"), QStringLiteral("Ученик ввёл"),
                     QStringLiteral("Ожидалось"), QStringLiteral("Засчитано")};
    table.widths = {3.2, 1.6, 1.6, 3};
    table.alignments = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft};
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const auto text = [&item](const char* name) {
            return valueText(item.value(QLatin1String(name)));
        };
        if (!item.isEmpty())
            table.rows << QStringList{text("label"), text("entered"), text("expected"),
                                      text("counted")};
    }
    if (table.rows.isEmpty()) return false;
    paper.table(table, evidenceIndent);
    return true;
}
}  // namespace

void drawEvidence(Paper& paper, const QString& evidenceJson, const QString& summary) {
    const QJsonDocument document = QJsonDocument::fromJson(evidenceJson.toUtf8());
    QJsonObject object = document.object();
    QString sentence = summary.trimmed();
    bool drawn = false;
    const auto drawSentence = [&] {
        if (sentence.isEmpty()) return;
        paper.text(QStringLiteral("Основание: ") + sentence, Paper::Style::Body, Qt::AlignLeft,
                   evidenceIndent);
        drawn = true;
    };
    if (document.isObject() && object.value(QStringLiteral("items")).isArray()) {
        // The grading rules' own form. Its figures for programs (English names, the raw
        // numbers) and its bookkeeping stay off the paper; anything else it holds is shown.
        if (sentence.isEmpty()) sentence = object.value(QStringLiteral("summary")).toString();
        drawSentence();
        if (drawItems(paper, object.value(QStringLiteral("items")).toArray())) drawn = true;
        for (const char* known : {"format", "experiment", "grade", "summary", "items", "data"})
            object.remove(QLatin1String(known));
        if (!object.isEmpty()) {
            drawObject(paper, object, 1);
            drawn = true;
        }
    } else {
        drawSentence();
        if (document.isObject() && !object.isEmpty()) {
            drawObject(paper, object, 1);
            drawn = true;
        } else if (document.isArray() && !document.array().isEmpty()) {
            drawValue(paper, QString(), document.array(), 1);
            drawn = true;
        }
    }
    if (!drawn)
        paper.text(QStringLiteral("Основание: нет сведений."), Paper::Style::Body, Qt::AlignLeft,
                   evidenceIndent);
}
