#include "toolkit/Accessibility.h"

#include <QAccessibleWidget>
#include <QMetaEnum>

#include "toolkit/Controls.h"

namespace {

class LinkInterface : public QAccessibleWidget {
public:
    explicit LinkInterface(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? link()->text().simplified() : own;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            Q_EMIT link()->clicked();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

class PictureInterface : public QAccessibleWidget {
public:
    explicit PictureInterface(Picture* picture)
        : QAccessibleWidget(picture, picture->property("labButton").toBool()
                                         ? QAccessible::Button
                                         : QAccessible::Graphic) {}
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

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("LinkLabel"))
        return new LinkInterface(static_cast<LinkLabel*>(object));
    if (className == QLatin1String("Picture"))
        return new PictureInterface(static_cast<Picture*>(object));
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
