#pragma once
#include "taxpayer/CadConsultaCPF.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cad {

class RecordSet;

/// "Consulta CPF (Receita Fazenda)": looks a person up by CPF, birth date and captcha and copies
/// the CPF and the name into the supplier record being edited, without saving it.
class TfrmConsultaCPF : public QDialog
{
    Q_OBJECT
public:
    /// FORNECEDOR is the supplier screen's record set; the dialog writes its current row.
    explicit TfrmConsultaCPF(RecordSet& fornecedor, QWidget* parent = nullptr);
    ~TfrmConsultaCPF() override;

    /// "captch.png" in the program's folder, written on every new captcha image.
    [[nodiscard]] static QString captchaFile();

    void FormShow();
    void tmr1Timer();
    void LabAtualizarCaptchaClick(); ///< "Atualizar Captcha"
    void SetNPJExit();               ///< leaving the CPF field
    void btnConsultarClick();        ///< "&Consultar"

    /// The captcha image shown, as decoded from the file (null before the first one).
    [[nodiscard]] const QImage& captchaImage() const { return m_image; }

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputArea();
    QWidget* buildResultArea();
    void showCaptcha(const QImage& image);
    void copyIntoSupplier();

    RecordSet& m_fornecedor;
    TCadConsultaCPF m_consulta;
    QTimer m_tmr1;
    QImage m_image;

    QLineEdit* m_cpf = nullptr;        // EditCNPJ
    QLineEdit* m_nascimento = nullptr; // medtEditDtNasc
    QLineEdit* m_captcha = nullptr;    // EditCaptcha
    QPushButton* m_consultar = nullptr;
    QPushButton* m_fechar = nullptr;
    QLabel* m_picture = nullptr; // Image1

    QLineEdit* m_nome = nullptr; // EditRazaoSocial
    QLineEdit* m_situacao = nullptr;
    QLineEdit* m_digito = nullptr;
    QLineEdit* m_codigoControle = nullptr;
    QLineEdit* m_emissao = nullptr;
    QLineEdit* m_inscricao = nullptr;
};

} // namespace cad
