#include "controls/Kat.h"

#include "controls/DCStyles.h"
#include "controls/MouseCodes.h"
#include "controls/PolishTreeItem.h"
#include "controls/TextEdit.h"
#include "platform/draw/Gdi.h"
#include "platform/draw/ImageList.h"
#include "platform/text/WholeNumber.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

constexpr int KeyRole = Qt::UserRole + 1;

// "ID=42" -> "42": everything after the 3-character prefix as a whole
// number, 0 when it is not one.
qint64 idFromKey(const QString &key)
{
    if (key.size() < 4)
        return 0;
    return WholeNumber::parse(QStringView(key).mid(3)).value_or(0);
}

QList<QTreeWidgetItem *> allNodes(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> nodes;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        nodes.append(*it);
    return nodes;
}

} // namespace

// The tree refuses to start editing the nodes the control protects.
class KatTree : public QTreeWidget
{
public:
    explicit KatTree(Kat *owner) : QTreeWidget(owner), m_owner(owner) {}

    using QTreeWidget::edit;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override
    {
        if (!m_owner->mayEdit(itemFromIndex(index)))
            return false;
        return QTreeWidget::edit(index, trigger, event);
    }

private:
    Kat *m_owner;
};

// Hands the edited text to the control instead of writing it straight away.
class KatEditDelegate : public QStyledItemDelegate
{
public:
    KatEditDelegate(Kat *owner, KatTree *tree)
        : QStyledItemDelegate(tree), m_owner(owner), m_tree(tree)
    {}

    void setModelData(QWidget *editor, QAbstractItemModel *,
                      const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (!line || !m_owner)
            return;
        m_owner->afterLabelEdit(m_tree->itemFromIndex(index), line->text());
    }

    // An editor still open when the control goes away commits nothing.
    void release() { m_owner = nullptr; }

private:
    Kat *m_owner;
    KatTree *m_tree;
};

// ---------------------------------------------------------------------------

KatNodes::KatNodes(QTreeWidget *tree, const Draw::ImageList *const *images)
    : m_tree(tree), m_images(images)
{}

void KatNodes::Clear()
{
    m_tree->clear();
}

QTreeWidgetItem *KatNodes::Add(const QString &relative, NodeRelationship relationship,
                               const QString &key, const QString &text, const QString &image,
                               const QString &selectedImage)
{
    if (!key.isEmpty() && Item(key))
        return nullptr;
    QTreeWidgetItem *other = nullptr;
    if (!relative.isEmpty()) {
        other = Item(relative);
        if (!other)
            return nullptr;
    }
    // Sorted after a rename, in the order the host's lists use.
    auto *node = new PolishTreeItem(QStringList(text));
    node->setData(0, KeyRole, key);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    const Draw::ImageList *images = *m_images;
    if (images && !image.isEmpty()) {
        QIcon icon(QPixmap::fromImage(images->picture(image)));
        if (!selectedImage.isEmpty())
            icon.addPixmap(QPixmap::fromImage(images->picture(selectedImage)), QIcon::Selected);
        node->setIcon(0, icon);
    }

    QTreeWidgetItem *root = m_tree->invisibleRootItem();
    if (!other) {
        root->addChild(node);
        return node;
    }
    QTreeWidgetItem *parent = other->parent() ? other->parent() : root;
    switch (relationship) {
    case tvwChild:
        other->addChild(node);
        break;
    case tvwFirst:
        parent->insertChild(0, node);
        break;
    case tvwLast:
        parent->addChild(node);
        break;
    case tvwNext:
        parent->insertChild(parent->indexOfChild(other) + 1, node);
        break;
    case tvwPrevious:
        parent->insertChild(parent->indexOfChild(other), node);
        break;
    }
    return node;
}

QTreeWidgetItem *KatNodes::Item(const QString &key) const
{
    for (QTreeWidgetItem *node : allNodes(m_tree))
        if (KatNodes::key(node) == key)
            return node;
    return nullptr;
}

bool KatNodes::Remove(const QString &key)
{
    QTreeWidgetItem *node = Item(key);
    if (!node)
        return false;
    delete node;
    return true;
}

int KatNodes::Count() const
{
    return int(allNodes(m_tree).size());
}

QString KatNodes::key(const QTreeWidgetItem *node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

// ---------------------------------------------------------------------------

Kat::Kat(QWidget *parent)
    : QFrame(parent), m_tree(new KatTree(this)), m_nodes(m_tree, &m_images), m_dc(&m_image)
{
    // Flat static edge.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);

    auto *tree = static_cast<KatTree *>(m_tree);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setFrameStyle(QFrame::NoFrame);
    m_delegate = new KatEditDelegate(this, tree);
    tree->setItemDelegate(m_delegate);
    setLabelEdit(0);
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { Q_EMIT NodeClick(node); });
    m_tree->viewport()->installEventFilter(this);

    const QString family = Draw::DeviceContext::resolveFamily(QStringLiteral("Tahoma"));
    QFont captionFont(family);
    captionFont.setPixelSize(12);
    captionFont.setBold(true);
    m_caption = new QLabel(QStringLiteral("Name"), this);
    m_caption->setObjectName(QStringLiteral("cName"));
    m_caption->setFont(captionFont);
    m_caption->move(6, 3);
    m_caption->setFixedHeight(16);

    QFont buttonFont(family);
    buttonFont.setPixelSize(11);
    const QStringList texts = {QStringLiteral("dodaj"), QStringLiteral("edytuj"),
                               QStringLiteral("usuń")};
    int x = 6;
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            auto *separator = new QLabel(QStringLiteral("|"), this);
            separator->setObjectName(QStringLiteral("lbl%1").arg(i - 1));
            separator->setFont(buttonFont);
            separator->setStyleSheet(QStringLiteral("color: #a0a0a0"));
            separator->adjustSize();
            separator->move(x, 21);
            x += separator->width() + 4;
            m_labels.append(separator);
        }
        auto *label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("Button%1").arg(i));
        label->setFont(buttonFont);
        label->setStyleSheet(QStringLiteral("color: #1f3f9f"));
        label->setCursor(Qt::PointingHandCursor);
        label->adjustSize();
        label->move(x, 21);
        label->installEventFilter(this);
        x += label->width() + 4;
        m_buttons.append(label);
    }
    m_tree->move(0, BarHeight);
}

Kat::~Kat()
{
    m_delegate->release();
}

void Kat::setButtonsVisible(bool visible)
{
    for (QLabel *label : m_buttons)
        label->setVisible(visible);
    for (QLabel *label : m_labels)
        label->setVisible(visible);
}

QString Kat::CaptionName() const
{
    return m_caption->text();
}

void Kat::setCaptionName(const QString &caption)
{
    m_caption->setText(caption);
}

void Kat::setLabelEdit(int mode)
{
    m_labelEdit = mode;
    m_tree->setEditTriggers(mode == 0 ? QAbstractItemView::SelectedClicked |
                                            QAbstractItemView::EditKeyPressed
                                      : QAbstractItemView::NoEditTriggers);
}

QTreeWidgetItem *Kat::SelectedItem() const
{
    return m_tree->currentItem();
}

void Kat::setSelectedItem(QTreeWidgetItem *node)
{
    m_tree->setCurrentItem(node);
}

QTreeWidgetItem *Kat::HitTest(float x, float y) const
{
    const QPoint pixel(Draw::roundPixel(x / Draw::twipsPerPixelX()),
                       Draw::roundPixel(y / Draw::twipsPerPixelY()));
    return m_tree->itemAt(pixel);
}

void Kat::StartLabelEdit()
{
    QTreeWidgetItem *node = SelectedItem();
    if (node && mayEdit(node))
        m_tree->editItem(node);
}

bool Kat::mayEdit(const QTreeWidgetItem *node) const
{
    // The root's key ("ALL") is 3 characters long; group keys are longer.
    return node && KatNodes::key(node).size() != 3;
}

void Kat::afterLabelEdit(QTreeWidgetItem *node, const QString &text)
{
    if (!node || text.isEmpty())
        return; // cancelled: the old label stays
    if (text != node->text(0)) {
        Q_EMIT AfterRename(QString::number(idFromKey(KatNodes::key(node))), text);
        node->setText(0, text);
    }
    m_tree->setSortingEnabled(true);
    m_tree->sortItems(0, Qt::AscendingOrder);
    Q_EMIT NodeClick(SelectedItem());
}

void Kat::buttonClick(int index)
{
    QTreeWidgetItem *node = SelectedItem();
    switch (index) {
    case 0: {
        QString parentKey;
        if (node)
            parentKey = node->parent() ? KatNodes::key(node->parent()) : KatNodes::key(node);
        Q_EMIT AddClick(parentKey);
        break;
    }
    case 1:
        if (node)
            StartLabelEdit();
        break;
    case 2:
        if (node)
            Q_EMIT DeleteClick(KatNodes::key(node));
        break;
    default:
        break;
    }
}

bool Kat::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            Q_EMIT TreeMouseUp(MouseCodes::button(mouse->button()),
                               MouseCodes::shift(mouse->modifiers()),
                               float(mouse->position().x()) * Draw::twipsPerPixelX(),
                               float(mouse->position().y()) * Draw::twipsPerPixelY());
        }
        return false;
    }
    auto *label = qobject_cast<QLabel *>(watched);
    const int index = int(m_buttons.indexOf(label));
    if (index < 0)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            m_pressedButton = label;
        if (index == 1 && SelectedItem())
            Q_EMIT EditButtonDown(KatNodes::key(SelectedItem()));
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressedButton == label &&
                           label->rect().contains(mouse->position().toPoint());
        m_pressedButton = nullptr;
        if (click)
            buttonClick(index);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void Kat::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        layoutControl();
    }
}

void Kat::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (m_shown)
        layoutControl();
}

void Kat::layoutControl()
{
    // Children live in the client area; each step that cannot be done is
    // skipped.
    const QRect client = contentsRect();
    const int top = client.top() + BarHeight;
    if (client.height() > BarHeight)
        m_tree->setGeometry(client.left(), top, client.width(), client.height() - BarHeight);
    const int captionWidth = client.right() + 1 - m_caption->x();
    if (captionWidth > 0)
        m_caption->resize(captionWidth, m_caption->height());
    m_width = width();
    m_height = height();
    paintBar();
}

void Kat::paintBar()
{
    const QSize size = contentsRect().size().expandedTo(QSize(1, 1));
    if (m_image.size() != size)
        m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(Qt::white);
    const float w = float(m_width);
    const int half = BarHeight / 2;
    DCStyles styles(&m_dc);
    TextEdit::GradientFill(&m_dc, TextEdit::MakeRGB(255, 255, 255),
                           TextEdit::MakeRGB(250, 250, 250), 0, 0, w - 2, float(half), true);
    TextEdit::GradientFill(&m_dc, TextEdit::MakeRGB(242, 242, 242),
                           TextEdit::MakeRGB(213, 213, 213), 0, float(half), w - 2,
                           float(BarHeight - half - 2), true);
    styles.ChangePen(1, 0xFFFFFF);
    TextEdit::DrawLine(&m_dc, 0, 0, 0, BarHeight - 1);
    styles.ChangePen(1, qint32(0x80000010u));
    TextEdit::DrawLine(&m_dc, 0, BarHeight - 1, w - 1, BarHeight - 1);
    TextEdit::DrawLine(&m_dc, w - 1, 0, w - 1, BarHeight);
    styles.KillPen();
    update();
}

void Kat::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_image);
    drawFrame(&painter);
}
