#pragma once

#include <string>
#include <string_view>

namespace ventix {

// Upper-case form used to compare names: a-z and the Spanish letters
// á é í ó ú ü ñ (in UTF-8) become capitals; every other character is left
// as it is. Independent of the process locale.
std::string MayusculasES(std::string_view Texto);

// ISO-8859-1 bytes to UTF-8.
std::string Latin1AUtf8(std::string_view Texto);

// UTF-8 to ISO-8859-1. Characters outside Latin-1 (and bytes that are not
// valid UTF-8) become '?', and *Perdida, when given, tells whether any did.
std::string Utf8ALatin1(std::string_view Texto, bool* Perdida = nullptr);

// UTF-8 to ISO-8859-1 for XML text: characters outside Latin-1 are written as
// decimal character references (&#8364;) so nothing is lost.
std::string Utf8ALatin1Xml(std::string_view Texto);

// True when the bytes are well-formed UTF-8.
bool EsUtf8Valido(std::string_view Texto);

// Decodes text of unknown encoding: valid UTF-8 as it is, anything else as
// Latin-1 (the Windows code pages agree with it on letters that matter here).
std::string TextoAUtf8(std::string_view Texto);

// A value as a message quotes it: at most 80 characters, line breaks and
// other control characters shown as blanks, "…" after a cut.
std::string Cita(std::string_view Valor);

// A CSV field (RFC 4180): as it is, or quoted with its quotes doubled when it
// holds a comma, a quote or a line break.
std::string CampoCsv(std::string_view Texto);

} // namespace ventix
