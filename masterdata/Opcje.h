#pragma once

#include <QDialog>
#include <QString>

#include <memory>

// The options dialog: the cell text template, the generator's group
// priority, the program password, the minimum cell size of the roster grid
// and the list of ranks (table stopnie). Every opening shows the stored
// values afresh; nothing is written before "Zapisz", which checks the sizes
// first and closes the window once everything is stored.
class Opcje : public QDialog
{
    Q_OBJECT

public:
    // Sizes (centimetres) must round, halves to even, below this.
    static constexpr int SizeLimit = 21;

    explicit Opcje(QWidget *parent = nullptr);
    ~Opcje() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void load();
    void loadRanks();
    void showPasswordState();
    void insertPlaceholder();
    void toolbarClick(const QString &key);
    bool save();
    bool checkSizes();
    // False when the options store could not write the options.
    bool storeOptions();
    void storePassword();
    bool storeRanks();

    class Controls;
    std::unique_ptr<Controls> m_ui;
    bool m_loaded = false;
};
