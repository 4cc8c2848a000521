// Small numeric helpers of the asset generator. Everything here uses only +, -, *, / and
// sqrt, which IEEE 754 rounds the same way everywhere, so the pictures come out byte for
// byte the same on every machine (library sin, exp and pow may differ in the last bit).
#pragma once

#include <cmath>

struct Rgb {
    double r;
    double g;
    double b;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

inline double Clamp(double v, double low, double high) {
    return v < low ? low : (v > high ? high : v);
}

inline double Mix(double a, double b, double t) { return a + (b - a) * t; }

inline Rgb Mix(Rgb a, Rgb b, double t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

// 0 at or below edge0, 1 at or above edge1, a smooth S in between.
inline double Smoothstep(double edge0, double edge1, double v) {
    const double t = Clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

constexpr double kPi = 3.14159265358979323846;

// Sine by range reduction to [-pi, pi] and a Taylor series, exact to about 1e-15.
inline double Sine(double x) {
    x -= 2.0 * kPi * std::floor((x + kPi) / (2.0 * kPi));
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n < 13; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

inline double Cosine(double x) { return Sine(x + kPi / 2.0); }

// x raised to a whole power, by repeated squaring.
inline double Power(double x, int n) {
    double result = 1.0;
    while (n > 0) {
        if (n & 1) {
            result *= x;
        }
        x *= x;
        n >>= 1;
    }
    return result;
}

struct Dir {
    double x;
    double y;
    double z;
};

inline double Dot(Dir a, Dir b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Dir Normalized(Dir d) {
    const double length = std::sqrt(Dot(d, d));
    return length > 0.0 ? Dir{d.x / length, d.y / length, d.z / length} : d;
}
