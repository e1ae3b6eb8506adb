#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vosmira {

class TDBGrid;
class TDataSource;
class TImage;

// Every client by name in a one-column grid: finds a client as the user types the
// start of its name, counts the clients, and opens, deletes or leaves the one
// highlighted. All it shows and changes is the clients dataset's.
class TFrmFIND_ALTERARcliente : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmFIND_ALTERARcliente(QWidget *parent = nullptr);
    ~TFrmFIND_ALTERARcliente() override;

    TDataSource *DataSource1 = nullptr;
    QLabel *Label20 = nullptr;
    QLineEdit *Edit1 = nullptr;
    TDBGrid *DBGrid1 = nullptr;
    QLabel *Label2 = nullptr;
    TImage *SpeedButton4 = nullptr;
    TImage *SpeedButton3 = nullptr;
    TImage *SpeedButton2 = nullptr;

public Q_SLOTS:
    void FormShow();
    void VerLabel();
    void Edit1Change();
    void DBGrid1DblClick();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent *event) override;
    // Enter in the search box or the grid opens the client, as "Ver dados" does:
    // the picture buttons take no focus.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // False, after saying so, when there is no client to act on.
    bool hasClients();

    bool m_shown = false;
};

// The client list while it is open.
extern TFrmFIND_ALTERARcliente *FrmFIND_ALTERARcliente;

} // namespace vosmira
