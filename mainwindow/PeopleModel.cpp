#include "mainwindow/PeopleModel.h"

#include "core/Module1.h"
#include "platform/text/PolishOrder.h"

#include <utility>

int PeopleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PeopleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PeopleModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return r.texts[index.column()];
    case KeyRole:
        return index.column() == 0 ? QVariant(Module1::KeyFromId(r.id)) : QVariant();
    case TagRole:
        return index.column() == 0 ? QVariant(r.tag) : QVariant();
    default:
        return {};
    }
}

bool PeopleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_rows[size_t(index.row())].texts[index.column()] = value.toString();
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant PeopleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return QStringLiteral("Nazwisko");
    case GroupColumn:
        return QStringLiteral("Grupa");
    case CountColumn:
        return QStringLiteral("Ilość");
    default:
        return {};
    }
}

Qt::ItemFlags PeopleModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool PeopleModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

void PeopleModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    QList<QString> texts;
    texts.reserve(qsizetype(m_rows.size()));
    for (const Row &r : m_rows)
        texts.append(r.texts[column]);
    const std::vector<qsizetype> places =
        PolishOrder::sortedPlaces(texts, order == Qt::DescendingOrder);

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The rows move in place, cycle by cycle: a second vector of 20,000 rows
    // would be fresh memory to fault in.
    std::vector<int> placeOf(m_rows.size(), -1);
    for (size_t i = 0; i < places.size(); ++i)
        placeOf[size_t(places[i])] = int(i);
    std::vector<bool> placed(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (placed[i])
            continue;
        Row held = std::move(m_rows[i]);
        size_t to = i;
        for (size_t from = size_t(places[to]); from != i; from = size_t(places[to])) {
            m_rows[to] = std::move(m_rows[from]);
            placed[to] = true;
            to = from;
        }
        m_rows[to] = std::move(held);
        placed[to] = true;
    }
    // The selection and the current row stay with their people.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(placeOf[size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool PeopleModel::isSorted(int column, Qt::SortOrder order) const
{
    if (column < 0 || column >= ColumnCount)
        return false;
    for (size_t i = 1; i < m_rows.size(); ++i) {
        const int byText =
            PolishOrder::compare(m_rows[i - 1].texts[column], m_rows[i].texts[column]);
        if (order == Qt::AscendingOrder ? byText > 0 : byText < 0)
            return false;
    }
    return true;
}

void PeopleModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

std::vector<PeopleModel::Row> PeopleModel::takeRows()
{
    beginResetModel();
    std::vector<Row> rows = std::exchange(m_rows, {});
    endResetModel();
    return rows;
}

void PeopleModel::appendRow(Row row)
{
    const int at = rowCount();
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

int PeopleModel::rowOf(qint64 id) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return int(i);
    }
    return -1;
}
