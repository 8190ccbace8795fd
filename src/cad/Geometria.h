#pragma once

namespace ventix {

// A world point; Y up.
struct TCADCoordenada {
    double X = 0.0;
    double Y = 0.0;
};

// A single-precision rectangle as the drawing toolkit measures it: X, Y of the
// corner with the smaller coordinates, and the size.
struct TCADRectF {
    float X = 0.0f;
    float Y = 0.0f;
    float Width = 0.0f;
    float Height = 0.0f;
};

// Extents in world coordinates, Y up: a non-empty rectangle has Right > Left
// and Top > Bottom.
struct TCADLimites {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;

    bool Vacio() const { return Right <= Left || Bottom >= Top; }
    bool operator==(const TCADLimites&) const = default;

    TCADRectF ARectF() const {
        return {static_cast<float>(Left), static_cast<float>(Bottom),
                static_cast<float>(Right - Left), static_cast<float>(Top - Bottom)};
    }
    static TCADLimites DeRectF(const TCADRectF& R) {
        return {R.X, static_cast<double>(R.Y) + R.Height, static_cast<double>(R.X) + R.Width, R.Y};
    }
};

// Union of A and B into R: R starts as A and widens to B where B reaches
// further, unless B is empty; an empty result becomes all zeros. Answers
// whether the result is non-empty.
inline bool UnirLimites(const TCADLimites& A, const TCADLimites& B, TCADLimites& R) {
    R = A;
    if (!B.Vacio()) {
        if (B.Left < R.Left)
            R.Left = B.Left;
        if (B.Top > R.Top)
            R.Top = B.Top;
        if (B.Right > R.Right)
            R.Right = B.Right;
        if (B.Bottom < R.Bottom)
            R.Bottom = B.Bottom;
    }
    if (R.Vacio()) {
        R = {};
        return false;
    }
    return true;
}

} // namespace ventix
