// The hidden "Consulta Mapa" picture: the route screen.
#include "data/widgets/WindowFit.h"
#include "maps/TFormMapa.h"
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::ConsultaMapaClick()
{
    // The route goes to the current supplier; with none, the screen opens with an empty destination.
    QVariant code;
    if (tbFornecedor.isOpen() && !tbFornecedor.isEmpty())
        code = tbFornecedor.value(QStringLiteral("CodigoFornecedor"));
    TFormMapa form(m_dm, code, this);
    form.FormCreate();
    keepOnScreen(&form);
    form.setWindowState(Qt::WindowMaximized);
    form.exec();
}

} // namespace cad
