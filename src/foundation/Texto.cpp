#include "foundation/Texto.h"

#include <cstdint>
#include <optional>

namespace ventix {

namespace {

// Decodes one UTF-8 sequence at Texto[i]; advances i. Returns nullopt (and
// advances by one byte) on a malformed sequence.
std::optional<char32_t> LeerUtf8(std::string_view Texto, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(Texto[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int largo;
    char32_t cp;
    if ((b0 & 0xE0) == 0xC0) {
        largo = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        largo = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        largo = 4;
        cp = b0 & 0x07;
    } else {
        ++i;
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(largo) > Texto.size()) {
        ++i;
        return std::nullopt;
    }
    for (int k = 1; k < largo; ++k) {
        const auto b = static_cast<unsigned char>(Texto[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t minimo[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimo[largo] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return std::nullopt;
    }
    i += static_cast<std::size_t>(largo);
    return cp;
}

void EscribirUtf8(std::string& Destino, char32_t cp) {
    if (cp < 0x80) {
        Destino += static_cast<char>(cp);
    } else if (cp < 0x800) {
        Destino += static_cast<char>(0xC0 | (cp >> 6));
        Destino += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        Destino += static_cast<char>(0xE0 | (cp >> 12));
        Destino += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        Destino += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        Destino += static_cast<char>(0xF0 | (cp >> 18));
        Destino += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        Destino += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        Destino += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string MayusculasES(std::string_view Texto) {
    std::string r(Texto);
    for (std::size_t i = 0; i < r.size(); ++i) {
        const auto c = static_cast<unsigned char>(r[i]);
        if (c >= 'a' && c <= 'z') {
            r[i] = static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < r.size()) {
            // á é í ó ú ü ñ are C3 A1/A9/AD/B3/BA/BC/B1; their capitals are
            // the same second byte less 0x20.
            const auto d = static_cast<unsigned char>(r[i + 1]);
            switch (d) {
            case 0xA1:
            case 0xA9:
            case 0xAD:
            case 0xB3:
            case 0xBA:
            case 0xBC:
            case 0xB1:
                r[i + 1] = static_cast<char>(d - 0x20);
                break;
            default:
                break;
            }
            ++i;
        }
    }
    return r;
}

std::string Latin1AUtf8(std::string_view Texto) {
    std::string r;
    r.reserve(Texto.size() + Texto.size() / 8);
    for (const char ch : Texto)
        EscribirUtf8(r, static_cast<unsigned char>(ch));
    return r;
}

std::string Utf8ALatin1(std::string_view Texto, bool* Perdida) {
    std::string r;
    r.reserve(Texto.size());
    bool perdida = false;
    for (std::size_t i = 0; i < Texto.size();) {
        const auto cp = LeerUtf8(Texto, i);
        if (cp && *cp < 0x100) {
            r += static_cast<char>(*cp);
        } else {
            r += '?';
            perdida = true;
        }
    }
    if (Perdida)
        *Perdida = perdida;
    return r;
}

std::string Utf8ALatin1Xml(std::string_view Texto) {
    std::string r;
    r.reserve(Texto.size());
    for (std::size_t i = 0; i < Texto.size();) {
        const std::size_t inicio = i;
        const auto cp = LeerUtf8(Texto, i);
        if (!cp)
            r += static_cast<char>(Texto[inicio]); // stray byte: keep it as Latin-1
        else if (*cp < 0x100)
            r += static_cast<char>(*cp);
        else
            r += "&#" + std::to_string(static_cast<std::uint32_t>(*cp)) + ";";
    }
    return r;
}

bool EsUtf8Valido(std::string_view Texto) {
    for (std::size_t i = 0; i < Texto.size();)
        if (!LeerUtf8(Texto, i))
            return false;
    return true;
}

std::string TextoAUtf8(std::string_view Texto) {
    return EsUtf8Valido(Texto) ? std::string(Texto) : Latin1AUtf8(Texto);
}

std::string Cita(std::string_view V) {
    constexpr int kMaximo = 80;
    std::string r;
    int caracteres = 0;
    for (std::size_t k = 0; k < V.size(); ++k) {
        const auto c = static_cast<unsigned char>(V[k]);
        const bool continuacion = (c & 0xC0) == 0x80;
        if (!continuacion && ++caracteres > kMaximo)
            return r + "…";
        r += (c < 0x20 || c == 0x7F) ? ' ' : V[k];
    }
    return r;
}

std::string CampoCsv(std::string_view Texto) {
    if (Texto.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(Texto);
    std::string r = "\"";
    for (char c : Texto) {
        if (c == '"')
            r += '"';
        r += c;
    }
    return r + '"';
}

} // namespace ventix
