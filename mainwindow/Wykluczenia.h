#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace Xml {
class Document;
}

// The exclusions view: day by day, the persons and groups that the generation
// left out of the roster because of an absence, each with the absence's
// period. Shows the roster's Exclusions and changes nothing.
class Wykluczenia : public QDialog
{
    Q_OBJECT

public:
    // document: the open roster (not owned; may be null for an empty view).
    explicit Wykluczenia(const Xml::Document *document, QWidget *parent = nullptr);

    // Rebuilds the tree from /Baza/Exclusions/Day. Item ids read "<id>P" for a
    // person and "<id>G" for a group; names come from ludzie and grupy, and an
    // item whose row no longer exists is left out.
    void BuildExclusionsTree(const Xml::Document *document);

    QTreeWidget *lista() const { return m_lista; }

private:
    QLabel *m_label = nullptr;
    QTreeWidget *m_lista = nullptr;
};
