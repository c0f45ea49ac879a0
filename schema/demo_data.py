#!/usr/bin/env python3
"""Writes SQL (UTF-8) that fills a local database with demo data.

   demo_data.py [--suppliers N] [--seed S] [--reference-only | --suppliers-only]

States and municipalities come from schema/data (IBGE list, MIT licence, see LICENSE-municipios.txt).
Suppliers get realistic names and CPF/CNPJ with valid check digits, some written with punctuation."""
import argparse, csv, os, random

HERE = os.path.dirname(os.path.abspath(__file__))


def q(v):
    if v is None:
        return "NULL"
    if isinstance(v, (int, float)):
        return repr(v)
    return "'" + str(v).replace("\\", "\\\\").replace("'", "''") + "'"


def check_digit(digits, weights):
    s = sum(int(d) * w for d, w in zip(digits, weights)) % 11
    return "0" if s < 2 else str(11 - s)


def make_cpf(rnd):
    base = "".join(str(rnd.randint(0, 9)) for _ in range(9))
    d1 = check_digit(base, range(10, 1, -1))
    d2 = check_digit(base + d1, range(11, 1, -1))
    return base + d1 + d2


def make_cnpj(rnd):
    base = "".join(str(rnd.randint(0, 9)) for _ in range(8)) + "0001"
    w1 = [5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2]
    d1 = check_digit(base, w1)
    d2 = check_digit(base + d1, [6] + w1)
    return base + d1 + d2


def punctuate(doc):
    if len(doc) == 11:
        return f"{doc[:3]}.{doc[3:6]}.{doc[6:9]}-{doc[9:]}"
    return f"{doc[:2]}.{doc[2:5]}.{doc[5:8]}/{doc[8:12]}-{doc[12:]}"


FIRST = ["JOSE", "MARIA", "ANTONIO", "ANA", "JOAO", "FRANCISCA", "CARLOS", "PAULO", "LUCAS", "PEDRO",
         "FERNANDA", "MARCOS", "RAFAEL", "JULIANA", "SEBASTIAO", "RAIMUNDO", "LUIZ", "ADRIANA", "QUITERIA"]
LAST = ["SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "RODRIGUES", "FERREIRA", "ALVES", "PEREIRA", "LIMA",
        "GOMES", "COSTA", "RIBEIRO", "MARTINS", "CARVALHO", "ALMEIDA", "LOPES", "D'AVILA", "QUEIROZ"]
TRADE = ["DISTRIBUIDORA", "COMERCIO DE ALIMENTOS", "ATACADO", "INDUSTRIA DE PLASTICOS", "MATERIAIS DE CONSTRUCAO",
         "LATICINIOS", "BEBIDAS", "PAPELARIA", "EMBALAGENS", "CONFECCOES", "FRIGORIFICO", "HORTIFRUTI",
         "TRANSPORTES", "MOVEIS", "ELETRONICOS", "FARMACEUTICA", "PRODUTOS DE LIMPEZA", "CALCADOS"]
SUFFIX = ["LTDA", "S/A", "EIRELI", "ME", "E FILHOS LTDA", "& CIA LTDA"]
STREETS = ["RUA DAS FLORES", "AVENIDA PAULISTA", "RUA XV DE NOVEMBRO", "AVENIDA BRASIL", "RUA SAO JOAO",
           "RUA DOM PEDRO II", "AVENIDA GETULIO VARGAS", "RUA SETE DE SETEMBRO", "TRAVESSA DA PAZ"]
DISTRICTS = ["CENTRO", "VILA NOVA", "JARDIM AMERICA", "BELA VISTA", "SAO JOSE", "BOA VISTA", "INDUSTRIAL"]
PRODUCTS = ["ARROZ TIPO 1 5KG", "FEIJAO CARIOCA 1KG", "OLEO DE SOJA 900ML", "ACUCAR CRISTAL 5KG",
            "CAFE TORRADO 500G", "LEITE UHT 1L", "SABAO EM PO 1KG", "DETERGENTE 500ML", "MACARRAO 500G",
            "FARINHA DE TRIGO 1KG", "REFRIGERANTE 2L", "AGUA MINERAL 1,5L", "BISCOITO RECHEADO 140G"]


def reference(out):
    out.write("DELETE FROM Uf;\n")
    with open(os.path.join(HERE, "data", "uf.csv"), encoding="utf-8") as f:
        rows = [f"({q(r['sigla'])},{q(r['nome'])})" for r in csv.DictReader(f)]
    out.write("INSERT INTO Uf (Sigla, NomEst) VALUES " + ",".join(rows) + ";\n")
    out.write("DELETE FROM Municipios_Ibge;\n")
    with open(os.path.join(HERE, "data", "municipios_ibge.csv"), encoding="utf-8") as f:
        rows = [f"({int(r['codigo'])},{q(r['nome'])},{q(r['uf'])})" for r in csv.DictReader(f)]
    for i in range(0, len(rows), 1000):
        out.write("INSERT INTO Municipios_Ibge (codigo, nome, uf) VALUES " + ",".join(rows[i:i + 1000]) + ";\n")
    out.write("INSERT INTO configuracao (Nome, Endereco, Bairro, Cidade, Estado, Cep, Tel1, Email, Cnpj, "
              "nomefantasia, numero, codigoparvix) VALUES ('LOJA CENTRO', 'AVENIDA PAULISTA', 'BELA VISTA', "
              "'SAO PAULO', 'SP', '01310100', '1133334444', 'loja@exemplo.com.br', '11222333000181', "
              "'LOJA CENTRO', '1000', 7);\n")
    tipos = ["MERCADORIA PARA REVENDA", "MATERIAL DE ESCRITORIO", "SERVICOS DE MANUTENCAO", "ALUGUEL",
             "ENERGIA ELETRICA", "TRANSPORTE E FRETE", "MATERIAL DE LIMPEZA"]
    out.write("INSERT INTO Tipos (DESCTIPO) VALUES " + ",".join(f"({q(t)})" for t in tipos) + ";\n")
    centros = ["ADMINISTRATIVO", "COMERCIAL", "LOGISTICA", "FINANCEIRO", "LOJA", "MARKETING"]
    out.write("INSERT INTO ContaGerencial (Gerencial, dataproc) VALUES "
              + ",".join(f"({q(c)}, NOW())" for c in centros) + ";\n")


def municipalities():
    with open(os.path.join(HERE, "data", "municipios_ibge.csv"), encoding="utf-8") as f:
        return [(int(r["codigo"]), r["nome"], r["uf"]) for r in csv.DictReader(f)]


def suppliers(out, n, rnd, with_notes):
    cities = municipalities()
    cols = ("Nome, nomefan, Cgccpf, ie, rg, TipoContribuinte, Endereco, Numero, complemento, ICompletCliFor, "
            "Bairro, Cidade, Estado, CodigoCidade, CodCidade, Cep, Telefone1, Telefone2, email, contato, "
            "Telcontato, CodigoTipo, CodigoGerencial, valor, diavenc, Obs, codigofilial, filial, codigoparvix, "
            "Cgc, cnpj")
    batch = []
    for i in range(1, n + 1):
        company = rnd.random() < 0.8
        doc = make_cnpj(rnd) if company else make_cpf(rnd)
        shown = punctuate(doc) if rnd.random() < 0.25 else doc
        if company:
            name = f"{rnd.choice(LAST)} {rnd.choice(TRADE)} {rnd.choice(SUFFIX)}"
            trade = f"{rnd.choice(TRADE)} {rnd.choice(LAST)}"
        else:
            name = f"{rnd.choice(FIRST)} {rnd.choice(LAST)} {rnd.choice(LAST)}"
            trade = name
        code, city, uf = rnd.choice(cities)
        batch.append("(" + ",".join(q(v) for v in [
            name[:50], trade[:50], shown, str(rnd.randint(10**8, 10**9)) if company else "", "",
            rnd.choice([1, 2, 9]), rnd.choice(STREETS), str(rnd.randint(1, 3000)), "", "",
            rnd.choice(DISTRICTS), city.upper()[:50], uf, code, code,
            f"{rnd.randint(10000, 99999)}-{rnd.randint(100, 999)}", f"11{rnd.randint(30000000, 39999999)}", "",
            f"contato{i}@fornecedor.com.br", rnd.choice(FIRST), "", rnd.randint(1, 7), rnd.randint(1, 6),
            round(rnd.uniform(0, 5000), 2), str(rnd.randint(1, 28)), "", 1, "LOJA CENTRO", "7", doc, doc]) + ")")
        if len(batch) == 1000 or i == n:
            out.write(f"INSERT INTO fornecedor ({cols}) VALUES " + ",".join(batch) + ";\n")
            batch = []
    if not with_notes:
        return
    nota = 0
    for sup in range(1, min(n, 200) + 1):
        for _ in range(rnd.randint(0, 5)):
            nota += 1
            nf = str(rnd.randint(1000, 999999))
            cancel = "S" if rnd.random() < 0.15 else "N"
            day = f"2026-{rnd.randint(1, 11):02d}-{rnd.randint(1, 28):02d}"
            total = round(rnd.uniform(100, 20000), 2)
            out.write("INSERT INTO Nota (Codigonota, Notafiscal, Data, operacao, chave, dataentrada, totalfrete, "
                      "valor, vProd, vNF, vTotTrib, Codigofornecedor, NFCancelada, importacao) VALUES "
                      f"({nota},{q(nf)},{q(day)},'COMPRA',{q(''.join(str(rnd.randint(0, 9)) for _ in range(44)))},"
                      f"{q(day)},{round(total * 0.05, 2)},{total},{round(total * 0.95, 2)},{total},"
                      f"{round(total * 0.18, 2)},{sup},{q(cancel)},'S');\n")
            items = []
            for _ in range(rnd.randint(1, 6)):
                items.append("(" + ",".join(q(v) for v in [
                    nota, rnd.randint(1, 9999), sup, rnd.randint(1, 120), round(rnd.uniform(1, 90), 2), "P",
                    day, rnd.choice(PRODUCTS), nf, str(rnd.randint(100, 999)), "", day, "S", cancel,
                    "N" if rnd.random() < 0.15 else "S"]) + ")")
            out.write("INSERT INTO itensNota (Codigonota, Codigoproduto, CodigoFornecedor, Qt, Preco, Tipo, Data, "
                      "produto, notafiscal, referencia, descricao, dataentrada, Fechada, NFCancelada, importacao) "
                      "VALUES " + ",".join(items) + ";\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--suppliers", type=int, default=300)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--reference-only", action="store_true")
    ap.add_argument("--suppliers-only", action="store_true")
    ap.add_argument("--no-invoices", action="store_true")
    a = ap.parse_args()
    import sys
    out = sys.stdout
    out.write("SET NAMES utf8mb4;\n")
    if not a.suppliers_only:
        reference(out)
    if not a.reference_only:
        suppliers(out, a.suppliers, random.Random(a.seed), not a.no_invoices)


if __name__ == "__main__":
    main()
