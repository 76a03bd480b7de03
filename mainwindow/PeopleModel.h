#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

// The rows of the main window's people list: name, group and the month's
// count of each person, with the person's id and the day of the last duty.
// A large unit lists tens of thousands of people, and every roster opened or
// made replaces them all: the rows are plain values, handed over and sorted
// at once, not an item object each.
class PeopleModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, GroupColumn, CountColumn, ColumnCount };
    // Column 0's key "ID=<id>" and tag (the day of the last duty).
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int TagRole = Qt::UserRole + 1;

    struct Row
    {
        qint64 id = 0;
        QString texts[ColumnCount];
        QString tag;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // A row's text (a count the cell editor changed).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    // In Polish order of the column's texts (counts as texts, "10" before
    // "9"); rows of equal texts keep their order. The selection follows.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Whether the rows already stand in that order.
    bool isSorted(int column, Qt::SortOrder order) const;

    const std::vector<Row> &rows() const { return m_rows; }
    const Row &row(int row) const { return m_rows[size_t(row)]; }
    // All rows at once, in place of the ones there.
    void setRows(std::vector<Row> rows);
    // All rows, leaving the list empty.
    std::vector<Row> takeRows();
    void appendRow(Row row);
    // The row of the person, or -1.
    int rowOf(qint64 id) const;

private:
    std::vector<Row> m_rows;
};
