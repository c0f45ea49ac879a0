#!/usr/bin/env python3
"""Stand-in for the ViaCEP postal-code service: GET /ws/<digits>/xml answers XML in UTF-8.

Demo CEPs and what their answer shows:
  01310100  one address, one element per line (the service's usual layout)
  01001000  one address on a single line, with an entity in the complement
  20040020  elements and one value split over lines
  70040010  elements with a namespace prefix
  30130010  element names in capitals and a <cepx> element before the real one
  04538132  two addresses, each in its <endereco> block
  69900001  no ibge element
  anything else of 8 digits: <erro>true</erro>;  not 8 digits: HTTP 400, as the service does
"""
from standin import Handler, serve

HEAD = '<?xml version="1.0" encoding="UTF-8"?>\n'

ANSWERS = {
    "01310100": HEAD + """<xmlcep>
  <cep>01310-100</cep>
  <logradouro>Avenida Paulista</logradouro>
  <complemento>de 612 a 1510 - lado par</complemento>
  <bairro>Bela Vista</bairro>
  <localidade>São Paulo</localidade>
  <uf>SP</uf>
  <ibge>3550308</ibge>
  <gia>1004</gia>
  <ddd>11</ddd>
  <siafi>7107</siafi>
</xmlcep>
""",
    "01001000": HEAD + "<xmlcep><cep>01001-000</cep><logradouro>Praça da Sé</logradouro>"
    "<complemento>lado ímpar &amp; sé</complemento><bairro>Sé</bairro><localidade>São Paulo</localidade>"
    "<uf>SP</uf><ibge>3550308</ibge></xmlcep>\n",
    "20040020": HEAD + """<xmlcep>
<cep>
20040-020</cep><logradouro>Rua da
Assembleia</logradouro>
<complemento></complemento><bairro
>Centro</bairro><localidade>Rio de Janeiro</localidade><uf>RJ</uf><ibge>3304557</ibge>
</xmlcep>
""",
    "70040010": HEAD + """<ns:xmlcep xmlns:ns="urn:viacep">
  <ns:cep>70040-010</ns:cep>
  <ns:logradouro>Setor Bancário Norte Quadra 1</ns:logradouro>
  <ns:complemento></ns:complemento>
  <ns:bairro>Asa Norte</ns:bairro>
  <ns:localidade>Brasília</ns:localidade>
  <ns:uf>DF</ns:uf>
  <ns:ibge>5300108</ns:ibge>
</ns:xmlcep>
""",
    "30130010": HEAD + """<XMLCEP>
  <CEPX>99999-999</CEPX>
  <CEP>30130-010</CEP>
  <Logradouro>Praça Sete de Setembro</Logradouro>
  <Complemento></Complemento>
  <Bairro>Centro</Bairro>
  <Localidade>Belo Horizonte</Localidade>
  <UF>MG</UF>
  <IBGE>3106200</IBGE>
</XMLCEP>
""",
    "04538132": HEAD + """<xmlcep>
 <enderecos>
  <endereco>
   <cep>04538-132</cep>
   <logradouro>Avenida Brigadeiro Faria Lima</logradouro>
   <complemento>de 3253 ao fim - lado ímpar</complemento>
   <bairro>Itaim Bibi</bairro>
   <localidade>São Paulo</localidade>
   <uf>SP</uf>
   <ibge>3550308</ibge>
  </endereco>
  <endereco>
   <cep>04538-133</cep>
   <logradouro>Avenida Brigadeiro Faria Lima</logradouro>
   <complemento>de 3254 ao fim - lado par</complemento>
   <bairro>Itaim Bibi</bairro>
   <localidade>São Paulo</localidade>
   <uf>SP</uf>
   <ibge>3550308</ibge>
  </endereco>
 </enderecos>
</xmlcep>
""",
    "69900001": HEAD + """<xmlcep>
  <cep>69900-001</cep>
  <logradouro>Rua Benjamin Constant</logradouro>
  <bairro>Centro</bairro>
  <localidade>Rio Branco</localidade>
  <uf>AC</uf>
</xmlcep>
""",
}
NOT_FOUND = HEAD + "<xmlcep>\n  <erro>true</erro>\n</xmlcep>\n"
BAD_REQUEST = """<!DOCTYPE HTML><html><head><title>ViaCEP 400</title></head>
<body><h3>Verifique a sua URL (Bad Request)</h3></body></html>"""


class ViaCepHandler(Handler):
    def route(self, method):
        parts = self.path.split("?")[0].split("/")  # "", "ws", cep, "xml"
        if method != "GET" or len(parts) != 4 or parts[1] != "ws" or parts[3] != "xml":
            return self.not_found()
        cep = parts[2]
        if len(cep) != 8 or not cep.isdigit():
            return self.send(400, BAD_REQUEST.encode("utf-8"), "text/html; charset=utf-8")
        answer = ANSWERS.get(cep, NOT_FOUND)
        self.send(200, answer.encode("utf-8"), "application/xml; charset=utf-8")


if __name__ == "__main__":
    serve(ViaCepHandler, "ViaCEP stand-in")
