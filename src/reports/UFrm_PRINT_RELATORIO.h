#pragma once

#include "Dialogs.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;

namespace rel {
class TRelPageWriter;
class TRelProject;
class TRelSystem;
} // namespace rel

namespace vosmira {

class TDBGrid;
class TDataSource;
class TImage;
class TRelDataSetConnection;

// The report window. Its selection page moves clients of one person kind into
// the selection dataset; its output page picks the report's sections and sends
// the report to the engine's output system or into a PDF, HTML, RTF or text
// file. The selection is scratch data: emptied when the window opens, on a
// kind switch, by "<<" and when it closes, and never written to the database.
class TFrmPRINT_REALTORIO : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmPRINT_REALTORIO(QWidget *parent = nullptr);
    ~TFrmPRINT_REALTORIO() override;

    void done(int result) override;

    // Report components.
    rel::TRelProject *RelProject1 = nullptr;
    rel::TRelSystem *RelSystem1 = nullptr;
    rel::TRelPageWriter *RelPageWriter1 = nullptr;
    std::unique_ptr<TRelDataSetConnection> RelDataSetConnection1;
    FileRequest SaveDialog1;

    TDataSource *DataSource1 = nullptr;
    TDataSource *DataSource2 = nullptr;

    // Selection page.
    QGroupBox *GB_1 = nullptr;
    QLabel *Label4 = nullptr;
    QRadioButton *RG_PF = nullptr;
    QRadioButton *RG_PJ = nullptr;
    TDBGrid *DBGrid1 = nullptr;
    TDBGrid *DBGrid2 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    TImage *SpeedButton1 = nullptr;
    TImage *SpeedButton2 = nullptr;

    // Output page.
    QGroupBox *GB_2 = nullptr;
    QLabel *Label11 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label12 = nullptr;
    QCheckBox *CB_Contato = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label17 = nullptr;
    QCheckBox *CB_Endereco = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label18 = nullptr;
    QCheckBox *CB_Prof = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label16 = nullptr;
    QCheckBox *CB_OBS = nullptr;
    QLabel *Label14 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *Label8 = nullptr;
    QRadioButton *RB_1 = nullptr;
    QLabel *Label1 = nullptr;
    QRadioButton *RB_2 = nullptr;
    QLabel *Label5 = nullptr;
    QRadioButton *RB_3 = nullptr;
    QLabel *Label6 = nullptr;
    QRadioButton *RB_4 = nullptr;
    QLabel *Label7 = nullptr;
    QRadioButton *RB_5 = nullptr;
    QLabel *Label15 = nullptr;
    TImage *Img_1 = nullptr;
    TImage *Img_2 = nullptr;
    TImage *Img_3 = nullptr;
    TImage *Img_4 = nullptr;
    TImage *Img_5 = nullptr;
    TImage *SpeedButton7 = nullptr;
    TImage *SpeedButton8 = nullptr;

public Q_SLOTS:
    void FormShow();
    void FormClose();
    void RefreshLabels();
    void RG_PFClick();
    void RG_PJClick();
    void SpeedButton4Click();
    void SpeedButton6Click();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

    void CheckBox2Click();
    void HideImg();
    void RB_1Click();
    void RB_2Click();
    void RB_3Click();
    void RB_4Click();
    void RB_5Click();
    void SpeedButton7Click();
    void SpeedButton8Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void buildSelectionPage();
    void buildOutputPage();
    void connectHandlers();
    // Closes, points at the project file and opens it; false (after the message) when it fails.
    bool prepareProject();
    void setKind(const QString &kind);
    void showPage(QGroupBox *page);
    void runToFile(const QString &report);

    bool m_shown = false;
    bool m_running = false;
};

// The report window while it is open.
extern TFrmPRINT_REALTORIO *FrmPRINT_REALTORIO;

} // namespace vosmira
