// The hidden "Consulta Mapa" picture: the route screen.
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::ConsultaMapaClick()
{
    // Route screen: filled in with the map.
}

} // namespace cad
