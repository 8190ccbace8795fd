#include "foundation/Numeros.h"

#include "foundation/Texto.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace ventix {

namespace {

// Decimal exponent of the first significant digit of an unsigned decimal
// text ("123.4e5" gives 7, "0.001" gives -3); only its sign matters here.
long long Magnitud(std::string_view s) {
    const auto e = s.find('e');
    long long exponente = 0;
    if (e != std::string_view::npos) {
        auto p = s.data() + e + 1;
        if (*p == '+')
            ++p;
        if (std::from_chars(p, s.data() + s.size(), exponente).ec != std::errc())
            exponente = (*p == '-') ? -100000 : 100000;
        s = s.substr(0, e);
    }
    const auto punto = s.find('.');
    const long long enteros =
        static_cast<long long>(punto == std::string_view::npos ? s.size() : punto);
    long long posicion = 0; // of the first non-zero digit, counting from the point
    for (std::size_t i = 0, k = 0; i < s.size(); ++i) {
        if (s[i] == '.')
            continue;
        if (s[i] != '0') {
            posicion = enteros - static_cast<long long>(k) - 1;
            break;
        }
        ++k;
    }
    return posicion + exponente;
}

// Plain decimal with optional sign, fraction and exponent, nothing else.
std::optional<double> ConvertirDecimal(std::string_view s) {
    std::size_t i = 0;
    bool negativo = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negativo = s[i++] == '-';
    std::string normal;
    std::size_t digitos = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        normal += s[i++];
        ++digitos;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        std::string fraccion;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            fraccion += s[i++];
            ++digitos;
        }
        if (!fraccion.empty())
            normal += (normal.empty() ? "0." : ".") + fraccion;
    }
    if (digitos == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            normal += s[i++];
        std::size_t exp = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            normal += s[i++];
            ++exp;
        }
        if (exp == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    double valor = 0;
    const auto [fin, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), valor,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is no number we can hold.
        if (Magnitud(normal) < 0)
            valor = 0.0;
        else
            return std::nullopt;
    } else if (ec != std::errc() || fin != normal.data() + normal.size()) {
        return std::nullopt;
    }
    return negativo ? -valor : valor;
}

} // namespace

double TextoANumero(std::string_view Texto) {
    if (Texto.empty())
        return 0.0;
    std::size_t a = 0, b = Texto.size();
    while (a < b && static_cast<unsigned char>(Texto[a]) <= 32)
        ++a;
    while (b > a && static_cast<unsigned char>(Texto[b - 1]) <= 32)
        --b;
    std::string limpio(Texto.substr(a, b - a));
    if (auto v = ConvertirDecimal(limpio))
        return *v;
    if (auto coma = limpio.find(','); coma != std::string::npos) {
        limpio[coma] = '.';
        if (auto v = ConvertirDecimal(limpio))
            return *v;
    }
    throw EConversionError("'" + Cita(limpio) + "' no es un número válido");
}

namespace {

// General format from the significant digits (no trailing zeros) and the
// decimal exponent of the first one.
std::string Formatear(bool Negativo, std::string Digitos, int Exponente) {
    while (Digitos.size() > 1 && Digitos.back() == '0')
        Digitos.pop_back();
    std::string r = Negativo ? "-" : "";
    const int n = static_cast<int>(Digitos.size());
    if (Exponente >= -5 && Exponente < 15) {
        if (Exponente < 0) {
            r += "0." + std::string(static_cast<std::size_t>(-Exponente - 1), '0') + Digitos;
        } else if (Exponente + 1 >= n) {
            r += Digitos + std::string(static_cast<std::size_t>(Exponente + 1 - n), '0');
        } else {
            r += Digitos.substr(0, static_cast<std::size_t>(Exponente + 1)) + "." +
                 Digitos.substr(static_cast<std::size_t>(Exponente + 1));
        }
    } else {
        r += Digitos.substr(0, 1);
        if (n > 1)
            r += "." + Digitos.substr(1);
        r += "E" + std::to_string(Exponente);
    }
    return r;
}

// The value in general format from `to_chars`' scientific text with the
// given precision, or the shortest that reads back when Precision < 0.
std::string General(double Valor, int Precision) {
    char buf[64];
    const auto res =
        Precision < 0
            ? std::to_chars(buf, buf + sizeof buf, Valor, std::chars_format::scientific)
            : std::to_chars(buf, buf + sizeof buf, Valor, std::chars_format::scientific, Precision);
    std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const bool negativo = sci.front() == '-';
    if (negativo)
        sci.remove_prefix(1);
    const auto e = sci.find('e');
    std::string digitos;
    for (const char c : sci.substr(0, e))
        if (c != '.')
            digitos += c;
    int exponente = 0;
    std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponente);
    return Formatear(negativo, digitos, exponente);
}

} // namespace

std::string NumeroATexto(double Valor) {
    if (std::isnan(Valor))
        return "NAN";
    if (std::isinf(Valor))
        return Valor > 0 ? "INF" : "-INF";
    if (Valor == 0)
        return "0";
    // Round to 15 significant digits first; the digits and the exponent of
    // that rounded value decide the text.
    return General(Valor, 14);
}

std::string NumeroATextoExacto(double Valor) {
    const std::string t = NumeroATexto(Valor);
    if (!std::isfinite(Valor) || Valor == 0)
        return t;
    if (const auto v = ConvertirDecimal(t); v && *v == Valor)
        return t;
    return General(Valor, -1);
}

} // namespace ventix
