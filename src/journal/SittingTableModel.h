#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <functional>

#include "journal/SharedMistakes.h"
#include "journal/SittingSummary.h"

// The rows of the teacher's view: one per sitting, in the columns the view shows, with the
// grades that share a mistake with many of the group marked in the last column. Only the rows
// read so far are held; when more wait on the server, the view's scrolling asks for the next
// page (fetchMore), which arrives through appendRows.
class SittingTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SittingTableModel(QObject* parent = nullptr);

    // Replaces every row; more tells whether a further page can be asked for.
    void setRows(const QList<SittingRow>& rows, const QList<QList<SharedMistake>>& mistakes,
                 bool more);
    // Adds a page below the rows; the shared mistakes of all rows are given anew.
    void appendRows(const QList<SittingRow>& rows, const QList<QList<SharedMistake>>& mistakes,
                    bool more);
    // A page asked for did not come: no more are asked for until the rows are set again.
    void fetchFailed();

    const QList<SittingRow>& rows() const { return rows_; }
    QList<SharedMistake> mistakesOf(int row) const { return mistakes_.value(row); }
    bool hasMore() const { return more_; }
    bool isFetching() const { return fetching_; }
    int mistakeColumn() const { return columnCount() - 1; }

    // Asks for the next page; set by the view that knows where the rows come from.
    std::function<void()> fetchPage;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QString mistakeMark(int row) const;

    QStringList titles_;
    QList<SittingRow> rows_;
    QList<QStringList> cells_;  // the texts of each row, made once
    QList<QList<SharedMistake>> mistakes_;
    bool more_ = false;
    bool fetching_ = false;
};
