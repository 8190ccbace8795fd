#include "foundation/Numeros.h"
#include "foundation/Texto.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using namespace ventix;

TEST(Texto, SpanishCaseFoldingAndLatin1Transcoding) {
    EXPECT_EQ(MayusculasES("válvula ñandú éíóü a1-b_z €x"), "VÁLVULA ÑANDÚ ÉÍÓÜ A1-B_Z €X");
    EXPECT_EQ(MayusculasES("çàèâ"), "çàèâ"); // only the Spanish letters
    EXPECT_EQ(MayusculasES("a\xC3"), "A\xC3");

    const std::string latin1 = "V\xE1lvula \xD1";
    EXPECT_EQ(Latin1AUtf8(latin1), "Válvula Ñ");
    EXPECT_EQ(Utf8ALatin1("Válvula Ñ"), latin1);
    bool perdida = false;
    EXPECT_EQ(Utf8ALatin1("5 €", &perdida), "5 ?");
    EXPECT_TRUE(perdida);
    EXPECT_EQ(Utf8ALatin1Xml("5 € ñ"), "5 &#8364; \xF1");
    // Not Latin-1 text nor an overlong form.
    EXPECT_EQ(std::tuple(EsUtf8Valido("Válvula"), EsUtf8Valido(latin1), EsUtf8Valido("\xC0\x80")),
              std::tuple(true, false, false));
    EXPECT_EQ(TextoAUtf8(latin1) + "|" + TextoAUtf8("Válvula"), "Válvula Ñ|Válvula");
}

TEST(TextoANumero, AcceptsPlainDecimalsWithPointOrCommaOnly) {
    const std::pair<const char*, double> buenos[] = {
        {"2.5", 2.5}, {"2,5", 2.5}, {"  -1,5E2\t", -150}, {"", 0}, {"+7", 7},
        {".5", 0.5},  {"5.", 5},    {"1e-400", 0}};
    for (auto [t, v] : buenos)
        EXPECT_EQ(TextoANumero(t), v) << t;
    for (const char* t : {"1,234.5", "1,5,5", "   ", "abc", "0x10", "inf", "nan", "1e", ".", "-",
                          "1e999", "1 2", "0x1p3"})
        EXPECT_THROW(TextoANumero(t), EConversionError) << t;
    try {
        TextoANumero("abc");
    } catch (const EConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' no es un número válido");
    }
    // A message quotes at most 80 characters of the text, on one line.
    try {
        TextoANumero("1\n" + std::string(1000000, '9') + "x");
        ADD_FAILURE();
    } catch (const EConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'1 " + std::string(78, '9') + "…' no es un número válido");
    }
    EXPECT_EQ(Cita("ñandú\r\nsí"), "ñandú  sí");
    EXPECT_EQ(Cita(std::string(80, 'a') + "é"), std::string(80, 'a') + "…");
}

TEST(TextoANumero, IgnoresTheProcessLocale) {
    const char* previo = std::setlocale(LC_NUMERIC, nullptr);
    const std::string guardado = previo ? previo : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "es_ES.UTF-8")) {
        EXPECT_EQ(std::tuple(TextoANumero("2.5"), NumeroATexto(2.5)),
                  std::tuple(2.5, std::string("2.5")));
    }
    std::setlocale(LC_NUMERIC, guardado.c_str());
}

TEST(NumeroATexto, GeneralFormatWithFifteenDigitsThatReadsBack) {
    std::string textos;
    for (double v :
         {0.1, 1.0 / 3.0, 2.0 / 3.0, 12.5, 0.0, -0.0, -3.0, 1e-5, 1e-6, -2.5e-7, 1e15,
          999999999999999.0, 1.5e20, 123456789012.0, 0.1 + 0.2, 1e100, 9999999999999999.0})
        textos += NumeroATexto(v) + " ";
    EXPECT_EQ(textos, "0.1 0.333333333333333 0.666666666666667 12.5 0 0 -3 0.00001 1E-6 -2.5E-7 "
                      "1E15 999999999999999 1.5E20 123456789012 0.3 1E100 1E16 ");
    for (double v : {3.14159265358979, -0.000123, 42.0, 1.0 / 7.0, 6.02214076e23, 1e-300}) {
        const double leido = TextoANumero(NumeroATexto(v));
        EXPECT_EQ(NumeroATexto(leido), NumeroATexto(v));
        EXPECT_NEAR(leido, v, std::abs(v) * 1e-14);
    }
}

// The file writer: today's text wherever it reads back to the same double,
// else the shortest that does, so nothing written is refused or changed.
TEST(NumeroATextoExacto, FifteenDigitsWhenTheyReadBackElseTheShortestThatDoes) {
    for (double v : {0.1, 12.5, 0.0, -3.0, 1e-6, 1.5e20, 123456789012.0, 36.5623927904767})
        EXPECT_EQ(NumeroATextoExacto(v), NumeroATexto(v)) << v;
    const double mayor = 1.7976931348623157e308;
    EXPECT_EQ(NumeroATexto(-mayor), "-1.79769313486232E308"); // beyond the largest double
    EXPECT_EQ(NumeroATextoExacto(-mayor) + " " + NumeroATextoExacto(1.0 / 3) + " " +
                  NumeroATextoExacto(0.1 + 0.2),
              "-1.7976931348623157E308 0.3333333333333333 0.30000000000000004");
    for (double v : {-mayor, 1.0 / 3, 0.1 + 0.2, 2.0 / 3 * 1e-7, 5e-324, 6.02214076e23 / 7})
        EXPECT_EQ(TextoANumero(NumeroATextoExacto(v)), v) << v;
}
