#include "toolkit/SingleClick.h"

#include <QAbstractButton>
#include <QEvent>

namespace {
class DoubleClickSwallower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) return true;
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

void actOncePerDoubleClick(QAbstractButton* button) {
    button->installEventFilter(new DoubleClickSwallower(button));
}
