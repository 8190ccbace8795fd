#include "sim/Secuencia.h"

#include "foundation/Texto.h"
#include "sim/Registro.h"

#include <QList>
#include <QString>

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace ventix {

namespace {

// A position within 1e-9 of an end is at that end: a return leaves residues
// such as 6.7E-17.
constexpr double Tolerancia = 1e-9;

std::optional<int> Extremo(double Posicion) {
    if (std::abs(Posicion) <= Tolerancia)
        return 0;
    if (std::abs(Posicion - 1.0) <= Tolerancia)
        return 1;
    return std::nullopt;
}

bool EsSigno(char32_t C) {
    return C == U'+' || C == U'-' || C == U'\u2212' || C == U'\u2013';
}

bool EsNombre(char32_t C) {
    return C == U'_' || C == U'#' || C == U'.' ||
           (C < 0x10000 && QChar(static_cast<char16_t>(C)).isLetterOrNumber());
}

std::string Utf8(char32_t C) {
    return QString::fromUcs4(&C, 1).toStdString();
}

// A phase's moves as a comparable set: upper-case names and signs.
std::set<std::pair<std::string, char>> Conjunto(const TFaseSecuencia& F) {
    std::set<std::pair<std::string, char>> r;
    for (const auto& m : F)
        r.emplace(MayusculasES(m.Cilindro), m.Signo);
    return r;
}

} // namespace

std::string TSecuencia::TextoFase(const TFaseSecuencia& Fase) {
    std::string r;
    for (const auto& m : Fase) {
        if (!r.empty())
            r += ' ';
        r += m.Cilindro;
        r += m.Signo;
        if (m.Incompleto)
            r += " [carrera incompleta]";
    }
    return Fase.size() > 1 ? "(" + r + ")" : r;
}

std::string TSecuencia::Texto() const {
    std::string r;
    for (const auto& f : Fases) {
        if (!r.empty())
            r += ' ';
        r += TextoFase(f);
    }
    return r;
}

ESecuencia::ESecuencia(int P, const std::string& Motivo)
    : std::runtime_error("Posición " + std::to_string(P) + ": " + Motivo), Posicion(P) {}

TSecuenciaLeida LeerSecuencia(std::string_view Texto) {
    const QList<uint> c =
        QString::fromUtf8(Texto.data(), static_cast<qsizetype>(Texto.size())).toUcs4();
    const int n = static_cast<int>(c.size());
    auto en = [&](int i) -> char32_t { return i < n ? static_cast<char32_t>(c[i]) : 0; };

    TSecuenciaLeida r;
    std::optional<TFaseSecuencia> grupo;
    int abierto = 0; // where the open group began, from 1
    for (int i = 0; i < n;) {
        const char32_t ch = en(i);
        const int pos = i + 1;
        if (ch == U' ' || ch == U'\t' || ch == U',' || ch == U';' || ch == U'/' ||
            ch == U'\u2192') {
            ++i;
        } else if (ch == U'-' && en(i + 1) == U'>') {
            i += 2;
        } else if (ch == U'(') {
            if (grupo)
                throw ESecuencia(pos, "paréntesis anidados");
            grupo.emplace();
            abierto = pos;
            ++i;
        } else if (ch == U')') {
            if (!grupo)
                throw ESecuencia(pos, "paréntesis de cierre sin abrir");
            if (grupo->empty())
                throw ESecuencia(abierto, "grupo vacío");
            r.Secuencia.Fases.push_back(std::move(*grupo));
            grupo.reset();
            ++i;
        } else if (EsNombre(ch)) {
            int j = i;
            while (j < n && EsNombre(en(j)))
                ++j;
            TMovimiento m;
            m.Cilindro = QString::fromUcs4(reinterpret_cast<const char32_t*>(c.data()) + i, j - i)
                             .toStdString();
            if (!EsSigno(en(j))) {
                if (j < n && !EsSigno(en(j)) && en(j) != U' ' && en(j) != U')' && en(j) != U',' &&
                    en(j) != U';' && en(j) != U'/' && en(j) != U'(' && en(j) != U'\u2192' &&
                    en(j) != U'\t')
                    throw ESecuencia(j + 1, "carácter no válido «" + Utf8(en(j)) + "»");
                throw ESecuencia(j + 1, "falta el signo (+ o -) tras «" + m.Cilindro + "»");
            }
            m.Signo = en(j) == U'+' ? '+' : '-';
            if (grupo) {
                for (const auto& o : *grupo)
                    if (MayusculasES(o.Cilindro) == MayusculasES(m.Cilindro))
                        throw ESecuencia(pos, "el cilindro «" + m.Cilindro +
                                                  "» aparece dos veces en el mismo grupo");
                grupo->push_back(std::move(m));
            } else {
                r.Secuencia.Fases.push_back({std::move(m)});
            }
            i = j + 1;
        } else if (EsSigno(ch)) {
            throw ESecuencia(pos, "signo sin nombre de cilindro");
        } else {
            throw ESecuencia(pos, "carácter no válido «" + Utf8(ch) + "»");
        }
    }
    if (grupo)
        throw ESecuencia(abierto, "falta cerrar el paréntesis");
    if (r.Secuencia.Fases.empty())
        throw ESecuencia(1, "la secuencia está vacía");

    // Each cylinder starts where its first move leaves from.
    std::map<std::string, std::pair<char, char>> estados; // name: start, now
    std::vector<std::string> orden;
    for (std::size_t f = 0; f < r.Secuencia.Fases.size(); ++f) {
        for (const auto& m : r.Secuencia.Fases[f]) {
            const std::string clave = MayusculasES(m.Cilindro);
            auto it = estados.find(clave);
            if (it == estados.end()) {
                const char inicio = m.Signo == '+' ? '-' : '+';
                it = estados.emplace(clave, std::make_pair(inicio, inicio)).first;
                orden.push_back(m.Cilindro);
            }
            if (it->second.second == m.Signo)
                r.Avisos.push_back("Fase " + std::to_string(f + 1) + ": " + m.Cilindro + m.Signo +
                                   " no cambia el estado del cilindro");
            it->second.second = m.Signo;
        }
    }
    for (const auto& nombre : orden) {
        const auto& e = estados[MayusculasES(nombre)];
        if (e.first != e.second)
            r.Avisos.push_back("Ciclo abierto: " + nombre + " no vuelve a su posición inicial");
    }
    return r;
}

TSecuencia SecuenciaObservada(const TRegistro& R) {
    TSecuencia r;
    const std::vector<int> pasos = R.InstantesDePaso();
    const int cilindros = R.NumCilindros();
    // The move each cylinder is making: phase and place in it.
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>> activo(
        static_cast<std::size_t>(cilindros));
    for (std::size_t k = 1; k < pasos.size(); ++k) {
        TFaseSecuencia nueva;
        for (int c = 0; c < cilindros; ++c) {
            const double antes = R.Valor(pasos[k - 1], c);
            const double ahora = R.Valor(pasos[k], c);
            auto& a = activo[static_cast<std::size_t>(c)];
            if (a) {
                TMovimiento& m = r.Fases[a->first][a->second];
                const int destino = m.Signo == '+' ? 1 : 0;
                const bool vuelve = m.Signo == '+' ? ahora < antes : ahora > antes;
                if (Extremo(ahora) == destino) {
                    a.reset();
                } else if (ahora == antes || vuelve) {
                    m.Incompleto = true;
                    a.reset();
                }
                continue;
            }
            const auto extremo = Extremo(antes);
            if (!extremo || Extremo(ahora) == extremo)
                continue;
            TMovimiento m;
            m.Cilindro = R.Filas()[static_cast<std::size_t>(c)].Nombre;
            m.Signo = *extremo == 0 ? '+' : '-';
            // A move that does not reach the other end in this same step goes on.
            if (Extremo(ahora) != 1 - *extremo)
                a.emplace(r.Fases.size(), nueva.size());
            nueva.push_back(std::move(m));
        }
        if (!nueva.empty())
            r.Fases.push_back(std::move(nueva));
    }
    for (const auto& a : activo)
        if (a)
            r.Fases[a->first][a->second].EnCurso = true;
    return r;
}

TComparacion Comparar(const TSecuencia& Obs, const TSecuencia& Esp) {
    TComparacion r;
    const std::size_t l = Esp.Fases.size();
    for (std::size_t i = 0; i < l; ++i) {
        const std::string fase = "Fase " + std::to_string(i + 1) + ": ";
        if (i >= Obs.Fases.size()) {
            r.Diferencia = fase + "se esperaba " + TSecuencia::TextoFase(Esp.Fases[i]) +
                           ", el circuito se detuvo";
            return r;
        }
        if (Conjunto(Obs.Fases[i]) != Conjunto(Esp.Fases[i])) {
            r.Diferencia = fase + "se esperaba " + TSecuencia::TextoFase(Esp.Fases[i]) +
                           ", se observó " + TSecuencia::TextoFase(Obs.Fases[i]);
            r.Concluyente = true;
            return r;
        }
        for (const auto& m : Obs.Fases[i]) {
            if (m.Incompleto) {
                r.Diferencia = fase + m.Cilindro + m.Signo + " quedó en carrera incompleta";
                r.Concluyente = true;
                return r;
            }
            if (m.EnCurso) {
                r.Diferencia = fase + m.Cilindro + m.Signo + " no terminó su carrera";
                return r;
            }
        }
    }
    r.Coincide = true;
    r.Concluyente = true;
    // Whole repetitions of the cycle, from the start.
    for (std::size_t inicio = 0; inicio + l <= Obs.Fases.size() && l > 0; inicio += l) {
        bool igual = true;
        for (std::size_t i = 0; i < l && igual; ++i) {
            igual = Conjunto(Obs.Fases[inicio + i]) == Conjunto(Esp.Fases[i]);
            for (const auto& m : Obs.Fases[inicio + i])
                igual = igual && !m.Incompleto && !m.EnCurso;
        }
        if (!igual)
            break;
        ++r.Ciclos;
    }
    return r;
}

} // namespace ventix
