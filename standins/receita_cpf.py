#!/usr/bin/env python3
"""Stand-in for the federal revenue service's CPF status pages (plain HTTP on loopback).

GET  /Servicos/CPF/ConsultaSituacao/ConsultaPublicaSonoro.asp  form with the captcha inline
                                                                (data: URL), starts a session
POST /Servicos/CPF/ConsultaSituacao/ConsultaPublicaExibir.asp  the status page
Pages are UTF-8 with character entities, as the service sends them.
"""
import base64
import html

from standin import Handler, serve

BASE = "/Servicos/CPF/ConsultaSituacao/"

PEOPLE = {
    "12345678909": {"nascimento": "01/02/1980", "nome": "JOSE  DA SILVA", "inscricao": "10/05/1998"},
    "11144477735": {"nascimento": "15/03/1975", "nome": "MARIA DE SOUZA CONCEIÇÃO", "inscricao": "22/07/1993"},
    "71460238346": {"nascimento": "10/10/1990", "nome": "José de Araújo", "inscricao": "05/01/2010"},
}
REFUSED = {"52998224725"}  # the service calls it not valid
UNAVAILABLE = {"93541134780"}
NAMELESS = {"07182315467"}  # a status page without the name

FORM = """<html><head><meta charset="utf-8"><title>Consulta Pública CPF</title></head><body>
<form method="post" action="ConsultaPublicaExibir.asp">
<label>CPF</label><input name="TxtCPF"> <label>Data de Nascimento</label><input name="txtDataNascimento">
<div id="divCaptcha"><img id="imgCaptcha" src="data:image/png;base64,{image}"></div>
<input type="hidden" name="txtToken_captcha_serpro_gov_br" value="">
<input name="txtTexto_captcha_serpro_gov_br"> <input type="submit" name="Enviar" value="Consultar">
</form></body></html>"""

MESSAGE = """<html><head><meta charset="utf-8"><title>Consulta Pública CPF</title></head><body>
<div class="clMensagemErro"><h4>Aten&ccedil;&atilde;o!</h4>
<span>{}</span></div></body></html>"""


def status_page(cpf, person, birth):
    number = f"{cpf[:3]}.{cpf[3:6]}.{cpf[6:9]}-{cpf[9:]}"
    name_line = "" if person is None else f"<span class='clConteudoDados'>Nome: <b>{html.escape(person['nome'])}</b></span><br>"
    registered = person["inscricao"] if person else ""
    return f"""<html><head><meta charset="utf-8"><title>Comprovante de Situação Cadastral no CPF</title></head>
<body><div class="clConteudoCentro">
<span class="clConteudoDados">No do CPF: <b>{number}</b></span><br>
{name_line}
<span class="clConteudoDados">Data de Nascimento: <b>{birth}</b></span><br>
<span class="clConteudoDados">Situa&ccedil;&atilde;o Cadastral: <b>REGULAR</b></span><br>
<span class="clConteudoDados">Data da Inscri&ccedil;&atilde;o: <b>{registered}</b></span><br>
<span class="clConteudoDados">Digito Verificador: <b>{cpf[9:]}</b></span><br>
<span class="clConteudoComp">Comprovante emitido &agrave;s: <b>14:05:33</b> do dia <b>09/12/2026</b> (hora e data de Bras&iacute;lia).</span><br>
<span class="clConteudoComp">C&oacute;digo de controle do comprovante: <b>3A1B.C2D4.E5F6.0789</b></span>
</div></body></html>"""


class CpfHandler(Handler):
    def page(self, text):
        self.send(200, text.encode("utf-8"), "text/html; charset=utf-8")

    def route(self, method):
        path = self.path.split("?")[0]
        if method == "GET" and path == BASE + "ConsultaPublicaSonoro.asp":
            cookie, _, png = self.start_captcha()
            encoded = base64.encodebytes(png).decode("ascii").strip()  # broken into lines of 76
            return self.send(200, FORM.format(image=encoded).encode("utf-8"), "text/html; charset=utf-8",
                             [("Set-Cookie", cookie)])
        if method == "POST" and path == BASE + "ConsultaPublicaExibir.asp":
            return self.query()
        self.not_found()

    def query(self):
        fields = self.form_fields()
        _, session = self.session()
        typed = fields.get("txtTexto_captcha_serpro_gov_br", "")
        if session is None or not session["captcha"] or typed.upper() != session["captcha"]:
            if session is not None:
                session["captcha"] = None
            return self.page(MESSAGE.format("Os caracteres da imagem não foram preenchidos corretamente."))
        session["captcha"] = None  # one query per image
        cpf = "".join(ch for ch in fields.get("TxtCPF", "") if ch.isdigit())
        birth = fields.get("txtDataNascimento", "")
        if cpf in REFUSED:
            return self.page(MESSAGE.format(
                "O número do CPF não é válido. Verifique se o mesmo foi digitado corretamente."))
        if cpf in UNAVAILABLE:
            return self.page(MESSAGE.format(
                "a. No momento não podemos atender a sua solicitação. Por favor tente mais tarde."))
        if cpf in NAMELESS:
            return self.page(status_page(cpf, None, birth))
        person = PEOPLE.get(cpf)
        if person is None:
            return self.page(MESSAGE.format(
                "Não existe no Cadastro de Pessoas Jurídicas o número de CPF informado. "
                "Verifique se o mesmo foi digitado corretamente."))
        if birth != person["nascimento"]:
            return self.page(MESSAGE.format(
                f"Data de nascimento informada {html.escape(birth)} está divergente da Data de "
                "Nascimento constante na base da Receita Federal."))
        self.page(status_page(cpf, person, birth))


if __name__ == "__main__":
    serve(CpfHandler, "CPF status stand-in")
