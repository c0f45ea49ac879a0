#pragma once
#include "taxpayer/CadConsultaCNPJ.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace cad {

class DbLookupCombo;
class RecordSet;

/// "Consulta de CNPJ": looks a company up on the federal registry and copies its data into the
/// supplier being edited, positioning the state and municipality lists; it never saves.
class TF_ConsultaCNPJ : public QDialog
{
    Q_OBJECT
public:
    /// FORNECEDOR is the supplier record being edited; UFS and MUNICIPIOS are the screen's lists.
    TF_ConsultaCNPJ(RecordSet& fornecedor, DbLookupCombo& ufs, DbLookupCombo& municipios,
                    QWidget* parent = nullptr);
    ~TF_ConsultaCNPJ() override;

    TCadConsultaCNPJ CadConsultaCNPJ1;
    QTimer Timer1; ///< one-shot: the first captcha image shortly after the dialog shows

    void LabAtualizarCaptchaClick(); ///< "Atualizar Captcha": a new image, captcha field emptied
    void ButBuscarClick();           ///< "Consultar"
    void Timer1Timer();

    /// The captcha image as decoded (null before the first one).
    [[nodiscard]] const QPixmap& captchaImage() const { return m_captcha; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputArea();
    QWidget* buildResultArea();
    void showCaptcha();
    void fillResults();
    void writeSupplier();
    void positionLists();

    RecordSet& m_fornecedor;
    DbLookupCombo& m_ufs;
    DbLookupCombo& m_municipios;
    QPixmap m_captcha;

    QLineEdit* m_editCNPJ = nullptr;
    QLineEdit* m_editCaptcha = nullptr;
    QPushButton* m_butBuscar = nullptr;
    QLabel* m_image1 = nullptr;
    QCheckBox* m_ckRemoverEspacosDuplos = nullptr;

    QLineEdit* m_editTipo = nullptr;
    QLineEdit* m_editRazaoSocial = nullptr;
    QLineEdit* m_editAbertura = nullptr;
    QLineEdit* m_editFantasia = nullptr;
    QLineEdit* m_editEndereco = nullptr;
    QLineEdit* m_editNumero = nullptr;
    QLineEdit* m_editComplemento = nullptr;
    QLineEdit* m_editBairro = nullptr;
    QLineEdit* m_editCidade = nullptr;
    QLineEdit* m_editUF = nullptr;
    QLineEdit* m_editCEP = nullptr;
    QLineEdit* m_editSituacao = nullptr;
    QLineEdit* m_editEmail = nullptr;
    QLineEdit* m_editTelefone = nullptr;
    QLineEdit* m_editCNAE1 = nullptr;
    QListWidget* m_listCNAE2 = nullptr;
};

} // namespace cad
