#pragma once
// CEntryListModel presents the selected vehicle's log entries as the rows of the main
// window's entry list: one row per entry of the document, 21 columns. It holds no
// copies: cell texts are made from the document's records when the view asks.
// beginReset()/endReset() bracket every reload of the document.

#include <QAbstractTableModel>

class CVehicleLogDoc;
class CDVItem;

class CEntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 21;

    explicit CEntryListModel(const CVehicleLogDoc& doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The default width of each column, in pixels.
    static int defaultWidth(int column);

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }

private:
    QString cellText(const CDVItem& item, int column) const;

    const CVehicleLogDoc& m_doc;
};
