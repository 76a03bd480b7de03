#pragma once

#include "platform/draw/DeviceContext.h"

#include <QFrame>
#include <QImage>
#include <QList>
#include <QString>

class KatEditDelegate;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace Draw {
class ImageList;
}

// Where a new node goes, relative to another one.
enum NodeRelationship {
    tvwFirst = 0,
    tvwLast = 1,
    tvwNext = 2,
    tvwPrevious = 3,
    tvwChild = 4,
};

// The node collection of a Kat tree: nodes carry a unique key.
class KatNodes
{
public:
    explicit KatNodes(QTreeWidget *tree, const Draw::ImageList *const *images);

    void Clear();
    // relative empty: a top-level node. Null when the key is already used or
    // the relative is unknown.
    QTreeWidgetItem *Add(const QString &relative, NodeRelationship relationship, const QString &key,
                         const QString &text, const QString &image = QString(),
                         const QString &selectedImage = QString());
    QTreeWidgetItem *Item(const QString &key) const;
    bool Remove(const QString &key);
    int Count() const;

    static QString key(const QTreeWidgetItem *node);

private:
    QTreeWidget *m_tree;
    const Draw::ImageList *const *m_images;
};

// Category tree under a 40-pixel title bar with the caption and the text
// buttons "dodaj", "edytuj" and "usuń". It owns no data: the host fills the
// nodes and handles the events, which carry node keys. The in-place rename
// refuses nodes with a 3-character key (the root) and drops empty or
// unchanged names.
class Kat : public QFrame
{
    Q_OBJECT

public:
    static constexpr int BarHeight = 40;

    explicit Kat(QWidget *parent = nullptr);
    ~Kat() override;

    void setButtonsVisible(bool visible);
    KatNodes &Nodes() { return m_nodes; }
    QString CaptionName() const;
    void setCaptionName(const QString &caption);
    // 0 automatic (a click on the selected node edits it), 1 manual.
    int LabelEdit() const { return m_labelEdit; }
    void setLabelEdit(int mode);
    QTreeWidgetItem *SelectedItem() const;
    void setSelectedItem(QTreeWidgetItem *node);
    void StopEdit() {}
    // Not owned; must outlive the nodes added with its pictures.
    void setImageList(const Draw::ImageList *images) { m_images = images; }
    // x, y in twips of the tree, as TreeMouseUp gives them.
    QTreeWidgetItem *HitTest(float x, float y) const;
    void StartLabelEdit();

    // Children, for the host's layout and for tests.
    QTreeWidget *tree() const { return m_tree; }
    QLabel *button(int index) const { return m_buttons.value(index); }
    const QImage &barImage() const { return m_image; }

Q_SIGNALS:
    void NodeClick(QTreeWidgetItem *node);
    void TreeMouseUp(int button, int shift, float x, float y);
    void AddClick(const QString &parentKey);
    void DeleteClick(const QString &key);
    void AfterRename(const QString &id, const QString &newName);
    void EditButtonDown(const QString &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    friend class KatTree;
    friend class KatEditDelegate;

    bool mayEdit(const QTreeWidgetItem *node) const;
    void afterLabelEdit(QTreeWidgetItem *node, const QString &text);
    void buttonClick(int index);
    void layoutControl();
    void paintBar();

    QTreeWidget *m_tree = nullptr;
    KatEditDelegate *m_delegate = nullptr;
    QLabel *m_caption = nullptr;
    QList<QLabel *> m_buttons;
    QList<QLabel *> m_labels;
    QLabel *m_pressedButton = nullptr;
    const Draw::ImageList *m_images = nullptr;
    KatNodes m_nodes;
    int m_labelEdit = 0;
    bool m_shown = false;
    int m_width = 0;
    int m_height = 0;
    QImage m_image;
    Draw::DeviceContext m_dc;
};
