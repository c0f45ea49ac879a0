#pragma once
#include "address/ui/MemoryTable.h"
#include "address/ui/TfrmPadrao1.h"

class QPushButton;
class QTableView;

namespace cad {

/// "Endereços Encontrados": the addresses a postal code returned, one per row; OK takes the
/// current row, Cancel (or Esc, or closing) takes none.
class TfrmEnderecosEncontrados : public TfrmPadrao1
{
    Q_OBJECT
public:
    explicit TfrmEnderecosEncontrados(QWidget* parent = nullptr);

    /// Fields Logradouro, Complemento, Bairro, Cidade, CodigoCidade, UF.
    MemoryTable VirtualTable1;

    [[nodiscard]] QTableView* grid() const { return m_grid; }

private:
    void followCurrentRow(int row);

    QTableView* m_grid;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace cad
