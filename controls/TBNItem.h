#pragma once

#include <QObject>
#include <QString>

// One toolbar item. Every write raises its event, also when the value does
// not change. An empty Image means no picture.
class TBNItem : public QObject
{
    Q_OBJECT
public:
    explicit TBNItem(QObject *parent = nullptr) : QObject(parent) {}

    QString Text() const { return m_text; }
    void setText(const QString &text);
    QString Key() const { return m_key; }
    void setKey(const QString &key);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QString Image() const { return m_image; }
    void setImage(const QString &image);

Q_SIGNALS:
    void Changed(const QString &key);
    void ChangedVsible(const QString &key);

private:
    QString m_text;
    QString m_key;
    bool m_visible = true;
    bool m_enabled = true;
    QString m_image;
};
