#include "controls/TBNItem.h"

void TBNItem::setText(const QString &text)
{
    m_text = text;
    Q_EMIT Changed(m_key);
}

void TBNItem::setKey(const QString &key)
{
    m_key = key;
    Q_EMIT Changed(m_key);
}

void TBNItem::setVisible(bool visible)
{
    m_visible = visible;
    Q_EMIT ChangedVsible(m_key);
}

void TBNItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    Q_EMIT Changed(m_key);
}

void TBNItem::setImage(const QString &image)
{
    m_image = image;
    Q_EMIT Changed(m_key);
}
