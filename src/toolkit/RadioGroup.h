#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>

// A group of radio buttons with a caption; clicked() fires only when the choice changes,
// whether by the user or by setItemIndex.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& caption = {}, QWidget* parent = nullptr);
    void setItems(const QStringList& items);
    int itemIndex() const { return index_; }
    void setItemIndex(int index);
    QRadioButton* button(int i) const { return buttons_.value(i); }
    int count() const { return int(buttons_.size()); }

Q_SIGNALS:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();
    QButtonGroup group_;
    QList<QRadioButton*> buttons_;
    int index_ = -1;
};
