#pragma once

#include <QDialog>

class BlueCommand;
class QListWidget;

// The database choice: lists the .mbd files of the program folder, creates
// one from the template, deletes one after asking, opens one.
class SelectDatabase : public QDialog
{
    Q_OBJECT

public:
    explicit SelectDatabase(QWidget *parent = nullptr);

    QListWidget *File1() const { return m_file1; }
    BlueCommand *BlueCommand1() const { return m_close; }
    BlueCommand *BlueCommand2() const { return m_login; }
    BlueCommand *BlueCommand3() const { return m_add; }
    BlueCommand *BlueCommand4() const { return m_delete; }

    // Re-reads the folder and selects the first file.
    void refresh();
    void addDatabase();
    void deleteDatabase();
    void openDatabase();

    // Whether name (as typed) can become the file name of a new database.
    static bool isValidDatabaseName(const QString &name);

private:
    QString selectedFile() const;

    QListWidget *m_file1;
    BlueCommand *m_login;
    BlueCommand *m_add;
    BlueCommand *m_delete;
    BlueCommand *m_close;
};
