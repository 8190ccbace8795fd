#pragma once

#include <memory>
#include <string_view>
#include <type_traits>

namespace ventix {

class TColeccionItem;

// A class reference for the model's item classes: the class name as the
// program shows it in messages, its parent, and a factory that builds a free
// (collection-less) instance. Collections use it to check what they accept
// and to build items of their item class without knowing it.
struct TClase {
    std::string_view Nombre;
    const TClase* Padre = nullptr;
    std::unique_ptr<TColeccionItem> (*Fabrica)() = nullptr; // null for abstract classes

    // True when this class is Otra or one of its descendants.
    bool EsDe(const TClase& Otra) const {
        for (const TClase* c = this; c; c = c->Padre)
            if (c == &Otra)
                return true;
        return false;
    }
    std::unique_ptr<TColeccionItem> Crear() const { return Fabrica ? Fabrica() : nullptr; }
};

namespace detail {
template <class T> std::unique_ptr<TColeccionItem> Fabricar() {
    if constexpr (std::is_abstract_v<T> || !std::is_default_constructible_v<T>)
        return nullptr;
    else
        return std::make_unique<T>();
}
} // namespace detail

} // namespace ventix

// Declares the class reference of a model class, in one line at the top of
// its body. Leaves the access at public.
#define VENTIX_CLASE(Tipo, Base)                                                                   \
public:                                                                                            \
    static const ::ventix::TClase& Clase() {                                                       \
        static const ::ventix::TClase c{#Tipo, &Base::Clase(), &::ventix::detail::Fabricar<Tipo>}; \
        return c;                                                                                  \
    }                                                                                              \
    const ::ventix::TClase& GetClase() const override {                                            \
        return Clase();                                                                            \
    }
