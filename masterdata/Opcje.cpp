#include "masterdata/Opcje.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Tools.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/ScheduleGridLayout.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString PassOption = QStringLiteral("Pass");
const QString PassSetText = QStringLiteral("Hasło już istnieje. Jeżeli chcesz ustawić hasło, to "
                                           "wpisz poniżej najpierw stare hasło, a później nowe "
                                           "(puste pole oznacza usunięcie hasła).");
const QString PassUnsetText = QStringLiteral(
    "Hasło nie zostało ustawione. Jeżeli chcesz ustawić hasło, to wpisz je poniżej.");

// Ends an in-place edit of a rank only with a name; an empty one keeps the
// former text. Remembers the open editor so that "Zapisz" can take it over.
class OpcjeRankDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editor = editor;
        return editor;
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(editor);
            line && line->text().trimmed().isEmpty())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    // Commits and closes an edit still open.
    void finishEdit()
    {
        if (QWidget *editor = m_editor.data()) {
            m_editor.clear();
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor);
        }
    }

private:
    mutable QPointer<QWidget> m_editor;
};

QIcon toolbarIcon(const Draw::ImageList &images, const QString &key)
{
    return QIcon(QPixmap::fromImage(images.picture(key)));
}

// The template's line breaks are stored as CR LF, as the grid shows them.
QString storedTemplate(const QString &typed)
{
    QString text = typed;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString shownTemplate(const QString &stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString databaseError()
{
    Db::Database *db = Globals::database();
    return db ? db->errorString() : QString();
}

} // namespace

class Opcje::Controls
{
public:
    QTabWidget *tabs = nullptr;
    QPlainTextEdit *txtCellShow = nullptr;
    QListWidget *lstCellShow = nullptr;
    BlueCommand *buttonWstaw = nullptr;
    QComboBox *polePriorytet = nullptr;
    QToolBar *tbStopnie = nullptr;
    QTreeWidget *lvStopnie = nullptr;
    OpcjeRankDelegate *rankDelegate = nullptr;
    QLabel *lblPass = nullptr;
    QLabel *label2 = nullptr;
    QLineEdit *txtPass[3] = {};
    QLineEdit *txtSize[2] = {};
    BlueCommand *buttonSave = nullptr;
    BlueCommand *buttonClose = nullptr;
};

Opcje::Opcje(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Opcje"));
    setWindowTitle(QStringLiteral("Opcje"));
    buildUi();
    Module1::FlatControls(this, QStringLiteral("TextBox"));
    Module1::FlatControls(this, QStringLiteral("ListBox"));
    Module1::FlatControls(this, QStringLiteral("ListView"));
    load();
}

Opcje::~Opcje() = default;

void Opcje::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    m_ui->tabs = new QTabWidget(this);
    m_ui->tabs->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(m_ui->tabs, 1);

    // "Ogólne"
    auto *general = new QWidget(m_ui->tabs);
    auto *generalLayout = new QVBoxLayout(general);
    auto *frame1 = new QGroupBox(QStringLiteral("Tekst na pojedynczej komórce"), general);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *frame1Layout = new QHBoxLayout(frame1);
    m_ui->txtCellShow = new QPlainTextEdit(frame1);
    m_ui->txtCellShow->setObjectName(QStringLiteral("txtCellShow"));
    m_ui->txtCellShow->installEventFilter(this);
    m_ui->buttonWstaw =
        MasterData::makeButton(frame1, QStringLiteral("ButtonWstaw"), QStringLiteral("\u25C4"));
    m_ui->buttonWstaw->setFixedWidth(32);
    m_ui->lstCellShow = new QListWidget(frame1);
    m_ui->lstCellShow->setObjectName(QStringLiteral("lstCellShow"));
    m_ui->lstCellShow->addItems({QStringLiteral("nazwisko"), QStringLiteral("imie"),
                                 QStringLiteral("stopien"), QStringLiteral("grupa")});
    frame1Layout->addWidget(m_ui->txtCellShow, 3);
    frame1Layout->addWidget(m_ui->buttonWstaw, 0, Qt::AlignVCenter);
    frame1Layout->addWidget(m_ui->lstCellShow, 1);
    generalLayout->addWidget(frame1, 1);
    auto *label1 = new QLabel(QStringLiteral("Priorytet w tworzeniu grafików:"), general);
    label1->setObjectName(QStringLiteral("Label1"));
    m_ui->polePriorytet = new QComboBox(general);
    m_ui->polePriorytet->setObjectName(QStringLiteral("polePriorytet"));
    m_ui->polePriorytet->addItems(
        {QStringLiteral(
             "Najważniejsza jest różnorodność grup, niezależnie od ilości pełnionych służb"),
         QStringLiteral("Najważniejsze, by grupy dążyły do wyrównania ilości pełnionych służb")});
    generalLayout->addWidget(label1);
    generalLayout->addWidget(m_ui->polePriorytet);
    m_ui->tabs->addTab(general, QStringLiteral("Ogólne"));

    // "Stopnie"
    auto *ranks = new QWidget(m_ui->tabs);
    auto *ranksLayout = new QVBoxLayout(ranks);
    auto *frame2 = new QGroupBox(QStringLiteral("Stopnie"), ranks);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto *frame2Layout = new QVBoxLayout(frame2);
    m_ui->tbStopnie = new QToolBar(frame2);
    m_ui->tbStopnie->setObjectName(QStringLiteral("tbStopnie"));
    m_ui->tbStopnie->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const Draw::ImageList images = ToolBarIcons::buttons();
    const struct
    {
        const char *key;
        const char *caption;
        const char *picture;
    } buttons[] = {{"add", "Dodaj", "new"}, {"edit", "Edytuj", "edit"}, {"del", "Usuń", "del"}};
    for (const auto &b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        QAction *action = m_ui->tbStopnie->addAction(
            toolbarIcon(images, QString::fromLatin1(b.picture)), QString::fromUtf8(b.caption));
        action->setObjectName(key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarClick(key); });
    }
    m_ui->lvStopnie = new QTreeWidget(frame2);
    m_ui->lvStopnie->setObjectName(QStringLiteral("lvStopnie"));
    m_ui->lvStopnie->setRootIsDecorated(false);
    m_ui->lvStopnie->setHeaderLabels({QStringLiteral("Nazwa")});
    m_ui->lvStopnie->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->lvStopnie->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::SelectedClicked);
    m_ui->rankDelegate = new OpcjeRankDelegate(m_ui->lvStopnie);
    m_ui->lvStopnie->setItemDelegate(m_ui->rankDelegate);
    CutTextTips::install(m_ui->lvStopnie);
    frame2Layout->addWidget(m_ui->tbStopnie);
    frame2Layout->addWidget(m_ui->lvStopnie, 1);
    ranksLayout->addWidget(frame2);
    m_ui->tabs->addTab(ranks, QStringLiteral("Stopnie"));

    // "Zabezpieczenia"
    auto *security = new QWidget(m_ui->tabs);
    auto *securityLayout = new QVBoxLayout(security);
    auto *frame3 = new QGroupBox(QStringLiteral("Hasło"), security);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto *frame3Layout = new QVBoxLayout(frame3);
    m_ui->lblPass = new QLabel(frame3);
    m_ui->lblPass->setObjectName(QStringLiteral("lblPass"));
    m_ui->lblPass->setWordWrap(true);
    frame3Layout->addWidget(m_ui->lblPass);
    auto *passForm = new QFormLayout;
    const char *passLabels[] = {"Stare hasło:", "Nowe hasło:", "Nowe hasło ponownie:"};
    for (int i = 0; i < 3; ++i) {
        m_ui->txtPass[i] = new QLineEdit(frame3);
        m_ui->txtPass[i]->setObjectName(QStringLiteral("txtPass%1").arg(i));
        m_ui->txtPass[i]->setEchoMode(QLineEdit::Password);
        auto *label = new QLabel(QString::fromUtf8(passLabels[i]), frame3);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        if (i == 0)
            m_ui->label2 = label;
        passForm->addRow(label, m_ui->txtPass[i]);
    }
    frame3Layout->addLayout(passForm);
    frame3Layout->addStretch();
    securityLayout->addWidget(frame3);
    m_ui->tabs->addTab(security, QStringLiteral("Zabezpieczenia"));

    // "Inne"
    auto *other = new QWidget(m_ui->tabs);
    auto *otherLayout = new QVBoxLayout(other);
    auto *frame4 =
        new QGroupBox(QStringLiteral("Minimalne wymary poszczególnych komórek w grafiku"), other);
    frame4->setObjectName(QStringLiteral("Frame4"));
    auto *sizeForm = new QFormLayout(frame4);
    const struct
    {
        const char *label;
        const char *caption;
    } sizes[] = {{"Label7", "Szerokość (cm):"}, {"Label6", "Wysokość (cm):"}};
    for (int i = 0; i < 2; ++i) {
        m_ui->txtSize[i] = new QLineEdit(frame4);
        m_ui->txtSize[i]->setObjectName(QStringLiteral("txtSize%1").arg(i));
        auto *label = new QLabel(QString::fromUtf8(sizes[i].caption), frame4);
        label->setObjectName(QString::fromLatin1(sizes[i].label));
        sizeForm->addRow(label, m_ui->txtSize[i]);
    }
    otherLayout->addWidget(frame4);
    otherLayout->addStretch();
    m_ui->tabs->addTab(other, QStringLiteral("Inne"));

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    m_ui->buttonSave =
        MasterData::makeButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Zapisz"));
    m_ui->buttonSave->setDefault(true);
    m_ui->buttonClose =
        MasterData::makeButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Zamknij"));
    m_ui->buttonClose->setCancel(true);
    buttonRow->addWidget(m_ui->buttonSave);
    buttonRow->addWidget(m_ui->buttonClose);
    layout->addLayout(buttonRow);

    connect(m_ui->buttonSave, &BlueCommand::Click, this, &Opcje::save);
    connect(m_ui->buttonClose, &BlueCommand::Click, this, &QDialog::reject);
    connect(m_ui->buttonWstaw, &BlueCommand::Click, this, &Opcje::insertPlaceholder);
    connect(m_ui->lstCellShow, &QListWidget::itemDoubleClicked, this, &Opcje::insertPlaceholder);
    resize(520, 360);
}

void Opcje::load()
{
    m_loaded = true;
    loadRanks();
    m_ui->lstCellShow->setCurrentRow(0);

    const clsOptions *options = Globals::options();
    const auto option = [options](const QString &name) {
        return options ? options->GetOption(name) : QString();
    };
    m_ui->txtCellShow->setPlainText(shownTemplate(option(QStringLiteral("CellShow"))));
    // Only "0" and "1" are ever stored; anything else shows the first mode.
    bool ok = false;
    const int priority = option(QStringLiteral("Priorytet")).trimmed().toInt(&ok);
    m_ui->polePriorytet->setCurrentIndex(
        ok && priority >= 0 && priority < m_ui->polePriorytet->count() ? priority : 0);
    m_ui->txtSize[0]->setText(option(QStringLiteral("CellWidth")));
    m_ui->txtSize[1]->setText(option(QStringLiteral("CellHeight")));
    for (QLineEdit *box : m_ui->txtPass)
        box->clear();
    showPasswordState();
}

void Opcje::loadRanks()
{
    QTreeWidget *list = m_ui->lvStopnie;
    list->clear();
    Db::Database *db = Globals::database();
    if (!db)
        return;
    auto rs = db->openQuery(QStringLiteral("SELECT * FROM stopnie ORDER BY nazwa COLLATE POLISH"));
    if (!rs) {
        Messages::critical(db->errorString());
        return;
    }
    for (; !rs->eof(); rs->moveNext()) {
        auto *row = new QTreeWidgetItem(list, {rs->text(QStringLiteral("nazwa"))});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

void Opcje::showPasswordState()
{
    const bool exists = Globals::options() && !Globals::options()->GetOption(PassOption).isEmpty();
    m_ui->lblPass->setText(exists ? PassSetText : PassUnsetText);
    m_ui->txtPass[0]->setEnabled(exists);
    m_ui->label2->setEnabled(exists);
}

void Opcje::showEvent(QShowEvent *event)
{
    // The one instance shown again after closing starts from the stored values.
    if (!m_loaded)
        load();
    QDialog::showEvent(event);
}

void Opcje::done(int result)
{
    m_loaded = false;
    QDialog::done(result);
}

bool Opcje::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the template is a line break, not "Zapisz".
    if (watched == m_ui->txtCellShow) {
        if (event->type() == QEvent::FocusIn)
            m_ui->buttonSave->setDefault(false);
        else if (event->type() == QEvent::FocusOut)
            m_ui->buttonSave->setDefault(true);
    }
    return QDialog::eventFilter(watched, event);
}

void Opcje::insertPlaceholder()
{
    const QListWidgetItem *entry = m_ui->lstCellShow->currentItem();
    if (!entry)
        return;
    m_ui->txtCellShow->textCursor().insertText(QLatin1Char('[') + entry->text() + QLatin1Char(']'));
}

void Opcje::toolbarClick(const QString &key)
{
    QTreeWidget *list = m_ui->lvStopnie;
    QTreeWidgetItem *row = list->currentItem();
    if (row && !row->isSelected())
        row = nullptr;
    if (key == QLatin1String("add")) {
        row = new QTreeWidgetItem(list, {QStringLiteral("Nowy")});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
        list->setCurrentItem(row);
        list->scrollToItem(row);
        list->setFocus();
        list->editItem(row, 0);
    } else if (key == QLatin1String("edit")) {
        if (row) {
            list->setFocus();
            list->editItem(row, 0);
        }
    } else if (key == QLatin1String("del")) {
        delete row;
    }
}

bool Opcje::save()
{
    if (!Globals::options() || !Globals::database()) {
        Messages::critical(QStringLiteral("Brak otwartej bazy danych."));
        return false;
    }
    // A rank still being typed counts as confirmed.
    m_ui->rankDelegate->finishEdit();
    // The template and the ranks reach every cell of the roster file.
    QList<MasterData::LabelledText> texts{
        {QStringLiteral("Tekst na pojedynczej komórce"), m_ui->txtCellShow->toPlainText()}};
    for (int i = 0; i < m_ui->lvStopnie->topLevelItemCount(); ++i)
        texts.append({QStringLiteral("Stopnie"), m_ui->lvStopnie->topLevelItem(i)->text(0)});
    if (!MasterData::storableTexts(texts))
        return false;
    if (!checkSizes() || !storeOptions())
        return false;
    storePassword();
    if (!storeRanks())
        return false;
    accept();
    return true;
}

bool Opcje::checkSizes()
{
    double sizes[2] = {};
    for (int i = 0; i < 2; ++i) {
        // Stored as typed, so it must read back as the grid reads it; a size
        // of zero or less would hide the roster's cells.
        if (!Module1::ParseCellSize(m_ui->txtSize[i]->text(), &sizes[i]) || sizes[i] <= 0) {
            Messages::exclamation(
                QStringLiteral("Proszę wpisać ponownie wymiary minimalne komórek!"));
            return false;
        }
    }
    for (double size : sizes) {
        if (std::nearbyint(size) >= SizeLimit) {
            Messages::exclamation(QStringLiteral("Wymiary komórki są zbyt duże!"));
            return false;
        }
    }
    return true;
}

bool Opcje::storeOptions()
{
    clsOptions *options = Globals::options();
    const bool stored = options->SetOption(QStringLiteral("CellShow"),
                                           storedTemplate(m_ui->txtCellShow->toPlainText())) &&
                        options->SetOption(QStringLiteral("Priorytet"),
                                           QString::number(m_ui->polePriorytet->currentIndex())) &&
                        options->SetOption(QStringLiteral("CellWidth"), m_ui->txtSize[0]->text()) &&
                        options->SetOption(QStringLiteral("CellHeight"), m_ui->txtSize[1]->text());
    if (!stored)
        Messages::critical(Messages::lines(
            {QStringLiteral("Nie udało się zapisać opcji w bazie danych."), databaseError()}));
    return stored;
}

void Opcje::storePassword()
{
    const QString old = m_ui->txtPass[0]->text();
    const QString fresh = m_ui->txtPass[1]->text();
    if (old.isEmpty() && fresh.isEmpty())
        return;
    if (fresh != m_ui->txtPass[2]->text()) {
        Messages::exclamation(QStringLiteral("Ponownie podane hasło nie jest takie samo!"));
        return;
    }
    clsOptions *options = Globals::options();
    const QString current = options->GetOption(PassOption);
    if (!current.isEmpty() && Tools::GetMD5(old) != current) {
        Messages::exclamation(QStringLiteral("Podane obecne hasło jest nieprawidłowe!"));
        return;
    }
    if (!options->SetOption(PassOption, fresh.isEmpty() ? QString() : Tools::GetMD5(fresh))) {
        const QString error = databaseError();
        // The store keeps a failed value in memory; the file still holds the old one.
        options->SetOption(PassOption, current);
        Messages::critical(Messages::lines(
            {QStringLiteral(
                 "Nie udało się zapisać hasła w bazie danych. Hasło nie zostało zmienione."),
             error}));
        return;
    }
    if (fresh.isEmpty())
        Messages::information(QStringLiteral("Hasło zostało usunięte."));
    // A second "Zapisz" (after a failed ranks write) must not test the old password again.
    for (QLineEdit *box : m_ui->txtPass)
        box->clear();
    showPasswordState();
}

bool Opcje::storeRanks()
{
    Db::Database &db = *Globals::database();
    Db::Transaction transaction(db);
    bool stored = transaction.isActive() && db.execute(QStringLiteral("DELETE FROM stopnie"));
    for (int i = 0; stored && i < m_ui->lvStopnie->topLevelItemCount(); ++i)
        stored = db.execute(QStringLiteral("INSERT INTO stopnie (nazwa) VALUES (?)"),
                            {m_ui->lvStopnie->topLevelItem(i)->text(0)});
    if (stored)
        stored = transaction.commit();
    if (!stored)
        Messages::critical(Messages::lines(
            {QStringLiteral("Nie udało się zapisać stopni w bazie danych."), db.errorString()}));
    return stored;
}
