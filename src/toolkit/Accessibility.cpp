#include "toolkit/Accessibility.h"

#include <QAccessibleWidget>
#include <QMetaEnum>

#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/StaticText.h"

namespace {

class LinkInterface : public QAccessibleWidget {
public:
    explicit LinkInterface(LinkLabel* link)
        : QAccessibleWidget(link, link->isLink() ? QAccessible::Link : QAccessible::StaticText) {}
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
    // Asked each time: a label turns into a link when a window connects its clicks.
    QAccessible::Role role() const override {
        return link()->isLink() ? QAccessible::Link : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? link()->text().simplified() : own;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = link()->isLink();
        s.linked = link()->isLink();
        return s;
    }
    QStringList actionNames() const override {
        if (!link()->isLink()) return QAccessibleWidget::actionNames();
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && link()->isLink()) {
            Q_EMIT link()->clicked();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

class PictureInterface : public QAccessibleWidget {
public:
    explicit PictureInterface(Picture* picture) : QAccessibleWidget(picture) {}
    // A picture that acts as a button (the close glyph) says so with the "labButton" property.
    QAccessible::Role role() const override {
        return widget()->property("labButton").toBool() ? QAccessible::Button
                                                        : QAccessible::Graphic;
    }
    QStringList actionNames() const override {
        if (role() != QAccessible::Button) return QAccessibleWidget::actionNames();
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (role() == QAccessible::Button && name == pressAction()) {
            Q_EMIT static_cast<Picture*>(widget())->clicked();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

// A static text is read as "label: text" when it has a label (its accessible name, or the live
// label of a text that changes by itself, which also tells listeners of each change in
// StaticText::setCaption), and as its text otherwise: a value box that is empty until the
// student gets that far still says what it is for.
class StaticTextInterface : public QAccessibleWidget {
public:
    explicit StaticTextInterface(StaticText* text)
        : QAccessibleWidget(text, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        auto* shown = static_cast<StaticText*>(widget());
        const QString caption = shown->caption().simplified();
        if (t == QAccessible::Value) return caption;
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        QString label = shown->liveLabel();
        if (label.isEmpty()) label = shown->accessibleName();
        if (label.isEmpty()) return caption;
        return caption.isEmpty() ? label : label + QStringLiteral(": ") + caption;
    }
};

// A chart is a chart, not a scrolling area.
class ChartInterface : public QAccessibleWidget {
public:
    explicit ChartInterface(QWidget* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("LinkLabel"))
        return new LinkInterface(static_cast<LinkLabel*>(object));
    if (className == QLatin1String("Picture"))
        return new PictureInterface(static_cast<Picture*>(object));
    if (className == QLatin1String("StaticText"))
        return new StaticTextInterface(static_cast<StaticText*>(object));
    if (className.endsWith(QLatin1String("QChartView")))
        return new ChartInterface(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

namespace labAccessibility {

void install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

QString nameOf(QWidget* widget) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(widget);
    return i ? i->text(QAccessible::Name) : QString();
}

QAccessible::Role roleOf(QWidget* widget) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(widget);
    return i ? i->role() : QAccessible::NoRole;
}

QString roleName(QAccessible::Role role) {
    const QMetaEnum e = QMetaEnum::fromType<QAccessible::Role>();
    const char* key = e.valueToKey(int(role));
    return key ? QString::fromLatin1(key) : QString::number(int(role));
}

}  // namespace labAccessibility
