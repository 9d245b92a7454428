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
}  // namespace

void drawEvidence(Paper& paper, const QString& evidenceJson, const QString& summary) {
    const QJsonDocument document = QJsonDocument::fromJson(evidenceJson.toUtf8());
    const bool hasDetails = (document.isObject() && !document.object().isEmpty()) ||
                            (document.isArray() && !document.array().isEmpty());
    if (summary.trimmed().isEmpty() && !hasDetails) {
        paper.text(QStringLiteral("Основание: нет сведений."), Paper::Style::Body, Qt::AlignLeft,
                   evidenceIndent);
        return;
    }
    if (!summary.trimmed().isEmpty())
        paper.text(QStringLiteral("Основание: ") + summary.trimmed(), Paper::Style::Body,
                   Qt::AlignLeft, evidenceIndent);
    if (document.isObject() && hasDetails)
        drawObject(paper, document.object(), 1);
    else if (hasDetails)
        drawValue(paper, QString(), document.array(), 1);
}
