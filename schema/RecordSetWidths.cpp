#include "schema/RecordSetWidths.h"

namespace cad::schema {

namespace {

// The local supplier table's text columns as the supplier screen declares them.
QHash<QString, int> screenWidths()
{
    return {
        {"Nome", 50},
        {"nomefan", 50},
        {"strNascimentotCliFor", 8},
        {"Cgc", 25},
        {"Cpf", 14},
        {"strNomeMaetCliFor", 40},
        {"strNomePaitCliFor", 40},
        {"strNomeConjugetCliFor", 40},
        {"Endereco", 55},
        {"Numero", 10},
        {"ICompletCliFor", 25},
        {"Telefone1", 15},
        {"Cep", 9},
        {"Bairro", 50},
        {"Cidade", 50},
        {"Estado", 2},
        {"strEmpresatCliFor", 40},
        {"IEmpresaTempotCliFor", 15},
        {"strEmpresaCargotCliFor", 15},
        {"strEmpresaEnderecotCliFor", 40},
        {"IEmpresaCompletCliFor", 25},
        {"Telefone2", 15},
        {"strEmpresaCeptCliFor", 8},
        {"strEmpresaBairrotCliFor", 30},
        {"strEmpresaCidadetCliFor", 30},
        {"strEmpresaUftCliFor", 2},
        {"strcodCarteiraProftclifor", 14},
        {"Telcontato", 15},
        {"strResidenciaTempotclifor", 15},
        {"Tipo", 50},
        {"DescricaoSubgrupo", 50},
        {"ie", 15},
        {"ativo", 1},
        {"email", 50},
        {"contato", 25},
        {"rg", 18},
        {"Gerencial", 50},
        {"Cgccpf", 18},
        {"situacao", 30},
        {"captcha", 30},
        {"complemento", 50},
        {"nomefantasia", 30},
        {"iestadual", 15},
        {"cnaeprincipal", 50},
        {"tipoempresa", 30},
        {"kilometragem", 50},
        {"diavenc", 2},
        {"filial", 50},
        {"codigoparvix", 10},
        {"cnpj", 18},
        {"Tipos", 50},
    };
}

QHash<QString, int> duplicateCheckWidths()
{
    QHash<QString, int> w = screenWidths();
    const QHash<QString, int> differ{
        {"Endereco", 40},     {"Cep", 8},           {"Bairro", 30},    {"Cidade", 30},
        {"Tipo", 1},          {"Tipos", 35},        {"contato", 50},   {"Cgccpf", 25},
        {"complemento", 30},  {"nomefantasia", 50}, {"iestadual", 50}, {"cnaeprincipal", 100},
        {"kilometragem", 15},
    };
    w.insert(differ);
    return w;
}

QHash<QString, int> routeWidths()
{
    return {{"Endereco", 55}, {"Bairro", 50}, {"Cidade", 50},
            {"Cep", 9},       {"Numero", 10}, {"kilometragem", 50}};
}

QHash<QString, int> centralWidths()
{
    return {
        {"Cgccpf", 25},    {"filial", 50},      {"razaosocial", 50}, {"nomefantasia", 50},
        {"Endereco", 40},  {"complemento", 50}, {"Numero", 20},      {"Bairro", 30},
        {"Cidade", 30},    {"Cep", 8},          {"Estado", 2},       {"Telefone1", 15},
        {"Telefone2", 15}, {"ie", 15},          {"email", 50},       {"contato", 50},
    };
}

} // namespace

const QHash<QString, int>& widths(SupplierSet set)
{
    static const QHash<QString, int> screen = screenWidths(), duplicate = duplicateCheckWidths(),
                                     route = routeWidths(), central = centralWidths();
    switch (set) {
    case SupplierSet::DuplicateCheck:
        return duplicate;
    case SupplierSet::Route:
        return route;
    case SupplierSet::Central:
        return central;
    default:
        return screen;
    }
}

} // namespace cad::schema
