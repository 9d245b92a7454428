#include "lab/GradeEvidence.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <array>
#include <cmath>

#include "lab/Numbers.h"

namespace {
// Raised when the layout of the JSON changes in a way an older reader would misread.
constexpr int FormatVersion = 1;

struct VerdictName {
    EvidenceItem::Verdict verdict;
    const char* name;
};
constexpr std::array<VerdictName, 3> verdictNames = {{
    {EvidenceItem::Verdict::None, "none"},
    {EvidenceItem::Verdict::Right, "right"},
    {EvidenceItem::Verdict::Wrong, "wrong"},
}};

QString verdictName(EvidenceItem::Verdict verdict) {
    for (const auto& v : verdictNames)
        if (v.verdict == verdict) return QString::fromLatin1(v.name);
    return {};
}

EvidenceItem::Verdict verdictFromName(const QString& name) {
    for (const auto& v : verdictNames)
        if (name == QLatin1String(v.name)) return v.verdict;
    return EvidenceItem::Verdict::None;
}

QJsonObject itemToJson(const EvidenceItem& item) {
    QJsonObject o;
    o.insert(QStringLiteral("key"), item.key);
    o.insert(QStringLiteral("label"), item.label);
    o.insert(QStringLiteral("entered"), item.entered);
    o.insert(QStringLiteral("expected"), item.expected);
    o.insert(QStringLiteral("counted"), item.counted);
    o.insert(QStringLiteral("verdict"), verdictName(item.verdict));
    o.insert(QStringLiteral("counts"), item.counts);
    if (!item.mistakes.isEmpty())
        o.insert(QStringLiteral("mistakes"), QJsonArray::fromStringList(item.mistakes));
    return o;
}

EvidenceItem itemFromJson(const QJsonObject& o) {
    EvidenceItem item;
    item.key = o.value(QStringLiteral("key")).toString();
    item.label = o.value(QStringLiteral("label")).toString();
    item.entered = o.value(QStringLiteral("entered")).toString();
    item.expected = o.value(QStringLiteral("expected")).toString();
    item.counted = o.value(QStringLiteral("counted")).toString();
    item.verdict = verdictFromName(o.value(QStringLiteral("verdict")).toString());
    item.counts = o.value(QStringLiteral("counts")).toBool();
    for (const QJsonValue& m : o.value(QStringLiteral("mistakes")).toArray())
        if (m.isString()) item.mistakes.append(m.toString());
    return item;
}
}  // namespace

QString GradeEvidence::toJson() const {
    if (isEmpty()) return {};
    QJsonObject o;
    o.insert(QStringLiteral("format"), FormatVersion);
    o.insert(QStringLiteral("experiment"), experiment);
    o.insert(QStringLiteral("grade"), grade);
    o.insert(QStringLiteral("summary"), summary);
    QJsonArray list;
    for (const EvidenceItem& item : items) list.append(itemToJson(item));
    o.insert(QStringLiteral("items"), list);
    o.insert(QStringLiteral("data"), data);
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

std::optional<GradeEvidence> GradeEvidence::fromJson(const QString& json) {
    if (json.isEmpty()) return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    const int experiment = o.value(QStringLiteral("experiment")).toInt();
    if (experiment < 1 || experiment > 4 || !o.value(QStringLiteral("grade")).isDouble())
        return std::nullopt;
    GradeEvidence e;
    e.experiment = experiment;
    e.grade = o.value(QStringLiteral("grade")).toDouble();
    e.summary = o.value(QStringLiteral("summary")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("items")).toArray())
        if (v.isObject()) e.items.append(itemFromJson(v.toObject()));
    e.data = o.value(QStringLiteral("data")).toObject();
    return e;
}

QString gradeMessage(int experiment, double grade) {
    return QStringLiteral("Оценка за выполнение опыта№") + QString::number(experiment) +
           QStringLiteral(": ") + formatGeneral(grade) + QStringLiteral(" !!!!");
}

QString pointsText(double points) {
    const QString number = formatGeneral(points);
    if (points != std::floor(points)) return number + QStringLiteral(" балла");
    const long long whole = std::llabs(static_cast<long long>(points));
    const long long lastTwo = whole % 100;
    const long long last = whole % 10;
    if (lastTwo >= 11 && lastTwo <= 14) return number + QStringLiteral(" баллов");
    if (last == 1) return number + QStringLiteral(" балл");
    if (last >= 2 && last <= 4) return number + QStringLiteral(" балла");
    return number + QStringLiteral(" баллов");
}
