#!/usr/bin/env python3
"""Stand-in for the federal revenue service's CNPJ certificate pages (plain HTTP on loopback).

GET  /Servicos/cnpjreva/captcha/gerarCaptcha.asp   captcha PNG, starts a session (cookie)
POST /Servicos/cnpjreva/valida.asp                 query; answers 302 to the certificate page
GET  /Servicos/cnpjreva/Cnpjreva_Comprovante.asp   certificate of the session's last query
GET  /Servicos/cnpjreva/Cnpjreva_Solicitacao_CS.asp the search form
The query needs the session cookie, the cookie flag=1 and the Referer of the search form.
Pages are in Windows-1252, as the service sends them.
"""
import html

from standin import Handler, serve

BASE = "/Servicos/cnpjreva/"


def company(**fields):
    """A certificate's fields: a small limited company's head office, active since it opened and with
    nothing special, unless FIELDS say otherwise."""
    c = {"tipo": "MATRIZ", "porte": "ME", "cnae2": [], "natureza": "206-2 - Sociedade Empresária Limitada",
         "efr": "*****", "situacao": "ATIVA", "motivo": "", "especial": "", "data_especial": ""}
    c.update(fields)
    c.setdefault("data_situacao", c["abertura"])
    return c


COMPANIES = {
    # Blank e-mail, several secondary activities, blanks to collapse, asterisks in the special status.
    "11222333000181": company(
        abertura="24/01/2005", nome="  COMÉRCIO DE ALIMENTOS  SÃO JOÃO   LTDA ", fantasia="MERCADO  SÃO JOÃO",
        cnae1="47.11-3-02 - Comércio varejista de mercadorias em geral - supermercados",
        cnae2=["47.21-1-04 - Comércio varejista de doces,  balas e bombons",
               "47.23-7-00 - Comércio varejista de bebidas",
               "56.11-2-03 - Lanchonetes, casas de chá, de sucos e similares"],
        logradouro="AV  PAULISTA", numero="1578", complemento="LOJA  2",
        cep="01.310-100", bairro="BELA  VISTA", municipio="SAO PAULO", uf="SP",
        email="", telefone="(11) 3333-4444", data_situacao="03/11/2005",
        especial="********", data_especial="********"),
    # Municipality and state hidden by asterisks; the search form comes back once before it.
    "45321789000110": company(
        tipo="FILIAL", abertura="02/09/1998", nome="DISTRIBUIDORA NORTE SUL S/A", fantasia="********",
        porte="DEMAIS", natureza="205-4 - Sociedade Anônima Fechada",
        cnae1="46.39-7-01 - Comércio atacadista de produtos alimentícios em geral",
        cnae2=["49.30-2-02 - Transporte rodoviário de carga, exceto produtos perigosos"],
        logradouro="RUA DAS FLORES", numero="S/N", complemento="********",
        cep="20.040-020", bairro="CENTRO", municipio="**********", uf="**",
        email="contato@nortesul.example", telefone="(21) 2222-1111 / (21) 2222-1112", form_again=1),
    # Name in mixed case with accents, complement in lower case, no secondary activities.
    "12345678000195": company(
        abertura="15/06/2010", nome="Padaria São João ltda", fantasia="Padaria do João",
        cnae1="10.91-1-02 - Fabricação de produtos de padaria e confeitaria",
        logradouro="Rua Augusta", numero="12a", complemento="fundos",
        cep="01.310-100", bairro="Consolação", municipio="SAO PAULO", uf="SP",
        email="padaria@saojoao.example", telefone="(11) 3222-1000"),
    # A CNPJ with letters in its root and order number (issued since July 2026).
    "12ABC34501DE35": company(
        abertura="06/07/2026", nome="ALFA NUMERICA TECNOLOGIA LTDA", fantasia="ALFA TEC",
        cnae1="62.01-5-01 - Desenvolvimento de programas de computador sob encomenda",
        cnae2=["62.04-0-00 - Consultoria em tecnologia da informação"],
        logradouro="AVENIDA AFONSO PENA", numero="1500", complemento="SALA 801",
        cep="30.130-010", bairro="CENTRO", municipio="BELO HORIZONTE", uf="MG",
        email="contato@alfatec.example", telefone="(31) 3555-0101"),
}
FORM_ALWAYS = {"98765432000198"}  # the form comes back on every POST
UNAVAILABLE = {"11111111000191"}
QUERY_ERROR = {"22222222000191"}

SEARCH_FORM = """<html><head><title>Emissão de Comprovante de Inscrição e de Situação Cadastral</title></head>
<body><form action="valida.asp" method="post">
<p>Digite o número de CNPJ da empresa e clique em Consultar</p>
<input name="cnpj" maxlength="18">
<img src="captcha/gerarCaptcha.asp" alt="captcha"> <a href="#">Captcha Sonoro</a>
<input name="txtTexto_captcha_serpro_gov_br"> <input type="submit" value="Consultar">
</form></body></html>"""

MESSAGE_PAGE = """<html><head><title>Consulta CNPJ</title></head><body>
<table><tr><td><font color="red"><b>{}</b></font></td></tr></table>
<a href="Cnpjreva_Solicitacao_CS.asp">Voltar</a></body></html>"""

WRONG_CAPTCHA = "Imagem com os caracteres anti robô inválida. Digite novamente."
NOT_REGISTERED = ("Não existe no Cadastro de Pessoas Jurídicas o número de CNPJ informado. "
                  "Verifique se o mesmo foi digitado corretamente.")
SITE_DOWN = "Parâmetros Inválidos. a. No momento não podemos atender a sua solicitação. Por favor tente mais tarde."


def field(label, value):
    """One certificate cell: the label line, then the value in bold on its own line."""
    shown = html.escape(value) if value else "&nbsp;"
    return (f'<td valign="top"><font face="Arial" style="font-size: 6pt">{label}</font>\n<br>\n'
            f'<font face="Arial" style="font-size: 8pt"><b>{shown}</b></font></td>\n')


def certificate(cnpj, c):
    number = f"{cnpj[:2]}.{cnpj[2:5]}.{cnpj[5:8]}/{cnpj[8:12]}-{cnpj[12:]}"
    rows = [
        field("NÚMERO DE INSCRIÇÃO", number).replace("</b></font></td>", f"</b>\n<br>\n<b>{c['tipo']}</b></font></td>"),
        '<td><font style="font-size: 12pt"><b>COMPROVANTE DE INSCRIÇÃO E DE SITUAÇÃO CADASTRAL</b></font></td>\n',
        field("DATA DE ABERTURA", c["abertura"]),
        "</tr><tr>",
        field("NOME EMPRESARIAL", c["nome"]),
        field("TÍTULO DO ESTABELECIMENTO (NOME DE FANTASIA)", c["fantasia"]),
        field("PORTE", c["porte"]),
        "</tr><tr>",
        field("CÓDIGO E DESCRIÇÃO DA ATIVIDADE ECONÔMICA PRINCIPAL", c["cnae1"]),
        "</tr><tr>",
        '<td><font style="font-size: 6pt">CÓDIGO E DESCRIÇÃO DAS ATIVIDADES ECONÔMICAS SECUNDÁRIAS</font>\n<br>\n'
        + "".join(f"<font style=\"font-size: 8pt\"><b>{html.escape(a)}</b></font>\n<br>\n" for a in c["cnae2"])
        + "<b>&nbsp;</b></td>\n",
        "</tr><tr>",
        field("CÓDIGO E DESCRIÇÃO DA NATUREZA JURÍDICA", c["natureza"]),
        "</tr><tr>",
        field("LOGRADOURO", c["logradouro"]), field("NÚMERO", c["numero"]),
        field("COMPLEMENTO", c["complemento"]),
        "</tr><tr>",
        field("CEP", c["cep"]), field("BAIRRO/DISTRITO", c["bairro"]),
        field("MUNICÍPIO", c["municipio"]), field("UF", c["uf"]),
        "</tr><tr>",
        # The service leaves a blank e-mail cell with no text at all.
        field("ENDEREÇO ELETRÔNICO", c["email"]).replace("&nbsp;", ""),
        field("TELEFONE", c["telefone"]),
        "</tr><tr>",
        field("ENTE FEDERATIVO RESPONSÁVEL (EFR)", c["efr"]),
        "</tr><tr>",
        field("SITUAÇÃO CADASTRAL", c["situacao"]), field("DATA DA SITUAÇÃO CADASTRAL", c["data_situacao"]),
        "</tr><tr>",
        field("MOTIVO DE SITUAÇÃO CADASTRAL", c["motivo"]),
        "</tr><tr>",
        field("SITUAÇÃO ESPECIAL", c["especial"]), field("DATA DA SITUAÇÃO ESPECIAL", c["data_especial"]),
    ]
    return ("<html><head><title>Comprovante de Inscrição e de Situação Cadastral</title></head>\n"
            "<body><table border=\"1\"><tr>\n" + "".join(rows) + "</tr></table>\n"
            "<p>Aprovado pela Instrução Normativa RFB nº 1.863, de 27 de dezembro de 2018.</p>\n"
            "</body></html>\n")


class CnpjHandler(Handler):
    def page(self, text, status=200, headers=()):
        self.send(status, text.encode("cp1252"), "text/html; charset=iso-8859-1", headers)

    def route(self, method):
        path = self.path.split("?")[0]
        if method == "GET" and path == BASE + "captcha/gerarCaptcha.asp":
            cookie, _, png = self.start_captcha()
            return self.send(200, png, "image/png", [("Set-Cookie", cookie)])
        if method == "GET" and path == BASE + "Cnpjreva_Solicitacao_CS.asp":
            return self.page(SEARCH_FORM)
        if method == "POST" and path == BASE + "valida.asp":
            return self.query()
        if method == "GET" and path == BASE + "Cnpjreva_Comprovante.asp":
            _, session = self.session()
            cnpj = session and session.pop("result", None)
            return self.page(certificate(cnpj, COMPANIES[cnpj]) if cnpj else SEARCH_FORM)
        self.not_found()

    def query(self):
        fields = self.form_fields()
        _, session = self.session()
        has_flag = ("flag", "1") in self.cookies()
        referer = self.headers.get("Referer") or ""
        if not has_flag or not referer.endswith(BASE + "Cnpjreva_Solicitacao_CS.asp"):
            return self.page(MESSAGE_PAGE.format("Erro na Consulta"))
        typed = fields.get("txtTexto_captcha_serpro_gov_br", "")
        if session is None or not session["captcha"] or typed.upper() != session["captcha"]:
            if session is not None:
                session["captcha"] = None
            return self.page(MESSAGE_PAGE.format(WRONG_CAPTCHA))
        cnpj = fields.get("cnpj", "")
        if cnpj in FORM_ALWAYS:
            return self.page(SEARCH_FORM)
        if cnpj in UNAVAILABLE:
            return self.page(MESSAGE_PAGE.format(SITE_DOWN))
        if cnpj in QUERY_ERROR:
            return self.page(MESSAGE_PAGE.format("Erro na Consulta"))
        company = COMPANIES.get(cnpj)
        if company is None:
            return self.page(MESSAGE_PAGE.format(NOT_REGISTERED))
        shown = session.setdefault("forms_shown", 0)
        if shown < company.get("form_again", 0):
            session["forms_shown"] = shown + 1
            return self.page(SEARCH_FORM)
        session["captcha"] = None  # one query per image, as the service does
        session["result"] = cnpj
        self.page("<html><body>Object moved</body></html>", 302, [("Location", "Cnpjreva_Comprovante.asp")])


if __name__ == "__main__":
    serve(CnpjHandler, "CNPJ certificate stand-in")
