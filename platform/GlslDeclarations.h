// The global uniform, attribute and varying declarations of a GLSL source: the named
// parameters our shader runtime offers for a program.
#pragma once

#include <string>
#include <vector>

enum class GlslStorage { Uniform, Attribute, Varying };

struct GlslDeclaration {
    GlslStorage storage = GlslStorage::Uniform;
    std::string type;   // "vec3", "mat4", "sampler2D", ...
    std::string name;   // without an array suffix
};

// Reads the declarations outside function bodies, in source order. Comments and
// preprocessor lines are skipped; "uniform vec3 a, b;" gives two declarations.
std::vector<GlslDeclaration> ParseGlslDeclarations(const std::string& source);

// Floats a value of the type holds: 1 to 4 for scalars and vectors, 16 for mat4,
// 0 for samplers and types we cannot set.
int GlslComponentCount(const std::string& type);

bool IsGlslSampler(const std::string& type);
