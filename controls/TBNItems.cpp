#include "controls/TBNItems.h"

#include <QMessageBox>

namespace {

TBNItems::ErrorReporter &reporter()
{
    static TBNItems::ErrorReporter r = [](const QString &description) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kadrelo"), description,
                        QMessageBox::Ok);
        box.exec();
    };
    return r;
}

} // namespace

TBNItems::TBNItems(QObject *parent) : QObject(parent) {}

void TBNItems::setErrorReporter(ErrorReporter r)
{
    reporter() = std::move(r);
}

int TBNItems::indexOf(const QString &key) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TBNItem *TBNItems::Add(const QString &key, const QString &text, const QString &image)
{
    if (indexOf(key) >= 0) {
        if (reporter())
            reporter()(QStringLiteral("Ten klucz jest już skojarzony z elementem tej kolekcji."));
        return nullptr;
    }
    auto *item = new TBNItem(this);
    item->setKey(key);
    item->setText(text);
    if (image.isEmpty())
        item->setImage(key);
    else if (image == QLatin1String("-"))
        item->setImage(QString());
    else
        item->setImage(image);
    // Connected only now: Add itself raises nothing.
    connect(item, &TBNItem::Changed, this, &TBNItems::ChangedItem);
    connect(item, &TBNItem::ChangedVsible, this, [this](const QString &) { Q_EMIT ChangedList(); });
    m_items.append({key, item});
    return item;
}

TBNItem *TBNItems::Item(const QString &key) const
{
    const int i = indexOf(key);
    return i >= 0 ? m_items[i].item : nullptr;
}

TBNItem *TBNItems::Item(int index) const
{
    return index >= 1 && index <= m_items.size() ? m_items[index - 1].item : nullptr;
}

int TBNItems::CountVisibleItems() const
{
    int n = 0;
    for (const Entry &e : m_items)
        n += e.item->Visible() ? 1 : 0;
    return n;
}

bool TBNItems::removeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return false;
    delete m_items.takeAt(index).item;
    Q_EMIT ChangedList();
    return true;
}

bool TBNItems::Remove(const QString &key)
{
    return removeAt(indexOf(key));
}

bool TBNItems::Remove(int index)
{
    return removeAt(index - 1);
}

int TBNItems::GetPosition(const QString &key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return -1;
    if (!m_items[i].item->Visible())
        return 0;
    int before = 0;
    for (int j = 0; j < i; ++j)
        before += m_items[j].item->Visible() ? 1 : 0;
    return before + 1;
}

QString TBNItems::GetKey(int position) const
{
    int counter = 0;
    for (const Entry &e : m_items) {
        if (e.item->Visible())
            ++counter;
        if (counter == position)
            return e.item->Key();
    }
    return QString();
}
