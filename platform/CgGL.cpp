// Our shader runtime on OpenGL 2.0 GLSL. Programs compile from GLSL 1.20 files one stage at a
// time; the vertex and fragment programs in use are linked together when they are bound
// (each pair once) and get the parameter values stored so far. Parameters are the global
// declarations of the source, found under their GLSL names ("IN.wave" is "IN_wave"):
//   - uniforms keep their values in the runtime and reach every program they are linked into;
//   - samplers take texture units in the order they are looked up (0, 1, ...);
//   - attributes are per-vertex values; one named "position" or "..._position" is generic
//     attribute 0, which the ordinary glVertex stream feeds, the others take 1, 2, ... in
//     declaration order;
//   - varyings exist as names only; setting them does nothing.
// A null or stale handle is ignored by every operation. Failures leave their code for
// cgGetError; a failed compile or link also writes the GLSL log to standard error.
#include "platform/Cg.h"

#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/Matrix.h"
#include "platform/GlslDeclarations.h"

enum class ParameterKind { Uniform, Sampler, Attribute, Varying };

struct CgParameterRecord {
    CgProgramRecord* program = nullptr;
    std::string glslName;
    ParameterKind kind = ParameterKind::Uniform;
    int components = 0;          // floats of a uniform or an attribute, 16 for a matrix
    float values[16] = {};
    bool hasValue = false;
    GLuint attribute = 0;        // location of an attribute
    int unit = -1;               // texture unit of a sampler, -1 until it is looked up
    GLuint texture = 0;          // OpenGL texture of a sampler
};

struct CgProgramRecord {
    CgContextRecord* context = nullptr;
    CGprofile profile = CG_PROFILE_UNKNOWN;
    GLuint shader = 0;
    std::vector<std::unique_ptr<CgParameterRecord>> parameters;
};

struct CgContextRecord {
    std::vector<std::unique_ptr<CgProgramRecord>> programs;
    int nextTextureUnit = 0;
};

namespace {
// One linked pair of programs (either may be missing) and where its uniforms are.
struct LinkedPair {
    GLuint program = 0;   // 0 when the link failed
    std::map<const CgParameterRecord*, GLint> locations;
};

using PairKey = std::pair<const CgProgramRecord*, const CgProgramRecord*>;

struct Runtime {
    CGerror lastError = CG_NO_ERROR;
    std::unordered_set<const void*> live;   // every context, program and parameter not destroyed
    bool vertexEnabled = false;
    bool fragmentEnabled = false;
    CgProgramRecord* boundVertex = nullptr;
    CgProgramRecord* boundFragment = nullptr;
    std::map<PairKey, LinkedPair> links;
    PairKey currentKey{nullptr, nullptr};
    LinkedPair* current = nullptr;          // the pair in use, null while no program runs
};

Runtime& State() {
    static Runtime runtime;
    return runtime;
}

template <typename Record>
Record* Live(Record* record) {
    return record && State().live.count(record) ? record : nullptr;
}

void Fail(CGerror error) {
    State().lastError = error;
}

bool IsVertexProfile(CGprofile profile) {
    return profile == CG_PROFILE_GLSLV;
}

bool IsOurProfile(CGprofile profile) {
    return profile == CG_PROFILE_GLSLV || profile == CG_PROFILE_GLSLF;
}

// --- GLSL support of the current context ---

int GLMajorVersion() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version ? std::atoi(version) : 0;
}

bool HasGLExtension(const char* name) {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

// --- compiling ---

bool ReadSource(const char* fileName, std::string& source) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    source = text.str();
    return true;
}

// The info log of a shader (glGetShaderiv, glGetShaderInfoLog) or a program (the Program pair).
std::string InfoLog(GLuint object, decltype(&glGetShaderiv) getLength,
                    decltype(&glGetShaderInfoLog) getLog) {
    GLint length = 0;
    getLength(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(length > 0 ? static_cast<size_t>(length) : 1, '\0');
    getLog(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.c_str();
}

// The shader object of the source, or 0 after writing the compiler's log to standard error.
GLuint CompileShader(const std::string& source, CGprofile profile, const char* fileName) {
    const GLuint shader =
        glCreateShader(IsVertexProfile(profile) ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    if (shader == 0) {
        std::cerr << fileName << ": no OpenGL context to compile in" << std::endl;
        return 0;
    }
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        std::cerr << fileName << ": GLSL compile errors:\n"
                  << InfoLog(shader, glGetShaderiv, glGetShaderInfoLog) << std::endl;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

bool IsPositionName(const std::string& name) {
    const std::string suffix = "_position";
    return name == "position" ||
           (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
}

// The program's parameters, one per declaration, with attribute locations assigned.
void AddParameters(CgProgramRecord& program, const std::string& source) {
    GLuint nextAttribute = 1;
    for (const GlslDeclaration& declaration : ParseGlslDeclarations(source)) {
        auto parameter = std::make_unique<CgParameterRecord>();
        parameter->program = &program;
        parameter->glslName = declaration.name;
        parameter->components = GlslComponentCount(declaration.type);
        if (declaration.storage == GlslStorage::Attribute) {
            parameter->kind = ParameterKind::Attribute;
            parameter->attribute = IsPositionName(declaration.name) ? 0 : nextAttribute++;
        } else if (declaration.storage == GlslStorage::Varying) {
            parameter->kind = ParameterKind::Varying;
        } else if (IsGlslSampler(declaration.type)) {
            parameter->kind = ParameterKind::Sampler;
        }
        State().live.insert(parameter.get());
        program.parameters.push_back(std::move(parameter));
    }
}

// --- linking and applying values ---

void ApplyUniform(const CgParameterRecord& parameter, GLint location) {
    if (location < 0) return;
    if (parameter.kind == ParameterKind::Sampler) {
        if (parameter.unit >= 0) glUniform1i(location, parameter.unit);
        return;
    }
    if (parameter.kind != ParameterKind::Uniform || !parameter.hasValue) return;
    const float* v = parameter.values;
    switch (parameter.components) {
    case 1: glUniform1f(location, v[0]); break;
    case 2: glUniform2f(location, v[0], v[1]); break;
    case 3: glUniform3f(location, v[0], v[1], v[2]); break;
    case 4: glUniform4f(location, v[0], v[1], v[2], v[3]); break;
    case 16: glUniformMatrix4fv(location, 1, GL_FALSE, v); break;
    default: break;
    }
}

void ApplyAll(const LinkedPair& pair) {
    for (const auto& [parameter, location] : pair.locations) {
        ApplyUniform(*parameter, location);
    }
}

void AttachStage(GLuint program, const CgProgramRecord* stage, LinkedPair& pair) {
    if (!stage) return;
    glAttachShader(program, stage->shader);
    for (const auto& parameter : stage->parameters) {
        if (parameter->kind == ParameterKind::Attribute) {
            glBindAttribLocation(program, parameter->attribute, parameter->glslName.c_str());
        }
        if (parameter->kind == ParameterKind::Uniform || parameter->kind == ParameterKind::Sampler) {
            pair.locations[parameter.get()] = -1;
        }
    }
}

LinkedPair Link(const CgProgramRecord* vertex, const CgProgramRecord* fragment) {
    LinkedPair pair;
    const GLuint program = glCreateProgram();
    AttachStage(program, vertex, pair);
    AttachStage(program, fragment, pair);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::cerr << "GLSL link errors:\n"
                  << InfoLog(program, glGetProgramiv, glGetProgramInfoLog) << std::endl;
        glDeleteProgram(program);
        Fail(CG_COMPILER_ERROR);
        pair.locations.clear();
        return pair;
    }
    pair.program = program;
    for (auto& [parameter, location] : pair.locations) {
        location = glGetUniformLocation(program, parameter->glslName.c_str());
    }
    return pair;
}

// Puts the programs of the enabled profiles to work, linking them on first use.
void UseActivePair() {
    Runtime& state = State();
    const PairKey key{state.vertexEnabled ? state.boundVertex : nullptr,
                      state.fragmentEnabled ? state.boundFragment : nullptr};
    if (key == state.currentKey && (state.current || (!key.first && !key.second))) return;
    state.currentKey = key;
    if (!key.first && !key.second) {
        state.current = nullptr;
        glUseProgram(0);
        return;
    }
    auto found = state.links.find(key);
    if (found == state.links.end()) {
        found = state.links.emplace(key, Link(key.first, key.second)).first;
    }
    state.current = &found->second;
    glUseProgram(state.current->program);
    if (state.current->program != 0) ApplyAll(*state.current);
}

// A parameter's value changed: the pair in use gets it at once, the others when used.
void Publish(const CgParameterRecord& parameter) {
    const Runtime& state = State();
    if (!state.current || state.current->program == 0) return;
    const auto found = state.current->locations.find(&parameter);
    if (found != state.current->locations.end()) ApplyUniform(parameter, found->second);
}

void SetValues(CGparameter handle, const float* values, int count) {
    CgParameterRecord* parameter = Live(handle);
    if (!parameter) return;
    if (parameter->kind == ParameterKind::Attribute) {
        switch (count) {
        case 1: glVertexAttrib1f(parameter->attribute, values[0]); break;
        case 3: glVertexAttrib3f(parameter->attribute, values[0], values[1], values[2]); break;
        default: glVertexAttrib4fv(parameter->attribute, values); break;
        }
        return;
    }
    if (parameter->kind != ParameterKind::Uniform) return;
    std::memcpy(parameter->values, values, sizeof(float) * static_cast<size_t>(count));
    parameter->hasValue = true;
    Publish(*parameter);
}

void BindTextureUnit(int unit, GLuint texture) {
    GLint previous = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &previous);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
    glActiveTexture(static_cast<GLenum>(previous));
}

// Forgets a program: its links, its bindings and its handles.
void Release(CgProgramRecord& program) {
    Runtime& state = State();
    for (auto it = state.links.begin(); it != state.links.end();) {
        if (it->first.first == &program || it->first.second == &program) {
            if (state.current == &it->second) {
                glUseProgram(0);
                state.current = nullptr;
                state.currentKey = PairKey{nullptr, nullptr};
            }
            if (it->second.program != 0) glDeleteProgram(it->second.program);
            it = state.links.erase(it);
        } else {
            ++it;
        }
    }
    if (state.boundVertex == &program) state.boundVertex = nullptr;
    if (state.boundFragment == &program) state.boundFragment = nullptr;
    for (const auto& parameter : program.parameters) state.live.erase(parameter.get());
    state.live.erase(&program);
    glDeleteShader(program.shader);
}
}  // namespace

CGcontext cgCreateContext() {
    CgContextRecord* context = new CgContextRecord;
    State().live.insert(context);
    return context;
}

void cgDestroyContext(CGcontext handle) {
    CgContextRecord* context = Live(handle);
    if (!context) return;
    for (const auto& program : context->programs) Release(*program);
    State().live.erase(context);
    delete context;
}

CGprofile cgGLGetLatestProfile(CGGLenum profileClass) {
    const bool glsl = GLMajorVersion() >= 2;
    if (profileClass == CG_GL_VERTEX && (glsl || HasGLExtension("GL_ARB_vertex_shader"))) {
        return CG_PROFILE_GLSLV;
    }
    if (profileClass == CG_GL_FRAGMENT && (glsl || HasGLExtension("GL_ARB_fragment_shader"))) {
        return CG_PROFILE_GLSLF;
    }
    return CG_PROFILE_UNKNOWN;
}

void cgGLSetOptimalOptions(CGprofile) {}

CGprogram cgCreateProgramFromFile(CGcontext handle, CGenum programType, const char* fileName,
                                  CGprofile profile, const char* entry, const char**) {
    CgContextRecord* context = Live(handle);
    if (!context) {
        Fail(CG_INVALID_CONTEXT_HANDLE_ERROR);
        return nullptr;
    }
    if (!IsOurProfile(profile)) {
        Fail(CG_INVALID_PROFILE_ERROR);
        return nullptr;
    }
    std::string source;
    if (!fileName || !ReadSource(fileName, source)) {
        std::cerr << (fileName ? fileName : "(no file)") << ": cannot read the program" << std::endl;
        Fail(CG_FILE_READ_ERROR);
        return nullptr;
    }
    if (programType != CG_SOURCE || (entry && std::strcmp(entry, "main") != 0)) {
        std::cerr << fileName << ": only GLSL source with the entry main is supported" << std::endl;
        Fail(CG_COMPILER_ERROR);
        return nullptr;
    }
    const GLuint shader = CompileShader(source, profile, fileName);
    if (shader == 0) {
        Fail(CG_COMPILER_ERROR);
        return nullptr;
    }
    auto program = std::make_unique<CgProgramRecord>();
    program->context = context;
    program->profile = profile;
    program->shader = shader;
    AddParameters(*program, source);
    State().live.insert(program.get());
    context->programs.push_back(std::move(program));
    return context->programs.back().get();
}

CGerror cgGetError() {
    const CGerror error = State().lastError;
    State().lastError = CG_NO_ERROR;
    return error;
}

const char* cgGetErrorString(CGerror error) {
    switch (error) {
    case CG_NO_ERROR: return "No error.";
    case CG_COMPILER_ERROR: return "The shader program did not compile or link.";
    case CG_INVALID_PARAMETER_ERROR: return "The parameter is not valid.";
    case CG_INVALID_PROFILE_ERROR: return "The profile is not supported.";
    case CG_FILE_READ_ERROR: return "The shader program file could not be read.";
    case CG_INVALID_CONTEXT_HANDLE_ERROR: return "The context is not valid.";
    case CG_INVALID_PROGRAM_HANDLE_ERROR: return "The program is not valid.";
    default: return "Unknown error.";
    }
}

// The GLSL stand-in compiles at creation; there is nothing left to load.
void cgGLLoadProgram(CGprogram) {}

void cgGLBindProgram(CGprogram handle) {
    CgProgramRecord* program = Live(handle);
    if (!program) return;
    if (IsVertexProfile(program->profile)) {
        State().boundVertex = program;
    } else {
        State().boundFragment = program;
    }
    UseActivePair();
}

void cgGLEnableProfile(CGprofile profile) {
    if (!IsOurProfile(profile)) return;
    (IsVertexProfile(profile) ? State().vertexEnabled : State().fragmentEnabled) = true;
    UseActivePair();
}

void cgGLDisableProfile(CGprofile profile) {
    if (!IsOurProfile(profile)) return;
    (IsVertexProfile(profile) ? State().vertexEnabled : State().fragmentEnabled) = false;
    UseActivePair();
}

CGparameter cgGetNamedParameter(CGprogram handle, const char* name) {
    CgProgramRecord* program = Live(handle);
    if (!program || !name) return nullptr;
    std::string glslName = name;
    for (char& c : glslName) {
        if (c == '.') c = '_';
    }
    for (const auto& parameter : program->parameters) {
        if (parameter->glslName != glslName) continue;
        if (parameter->kind == ParameterKind::Sampler && parameter->unit < 0) {
            parameter->unit = program->context->nextTextureUnit++;
            Publish(*parameter);
        }
        return parameter.get();
    }
    return nullptr;
}

void cgGLSetParameter1f(CGparameter parameter, float x) {
    SetValues(parameter, &x, 1);
}

void cgGLSetParameter3f(CGparameter parameter, float x, float y, float z) {
    const float values[3] = {x, y, z};
    SetValues(parameter, values, 3);
}

void cgGLSetParameter3fv(CGparameter parameter, const float* values) {
    if (values) SetValues(parameter, values, 3);
}

void cgGLSetStateMatrixParameter(CGparameter handle, CGGLenum matrix, CGGLenum transform) {
    CgParameterRecord* parameter = Live(handle);
    if (!parameter || parameter->kind != ParameterKind::Uniform) return;
    if (matrix != CG_GL_MODELVIEW_PROJECTION_MATRIX || transform != CG_GL_MATRIX_IDENTITY) {
        Fail(CG_INVALID_PARAMETER_ERROR);
        return;
    }
    float projection[16] = {};
    float modelview[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    float product[16];
    MultiplyMatrices(projection, modelview, product);
    SetValues(parameter, product, 16);
}

void cgGLSetTextureParameter(CGparameter handle, GLuint texture) {
    if (CgParameterRecord* parameter = Live(handle)) {
        if (parameter->kind == ParameterKind::Sampler) parameter->texture = texture;
    }
}

void cgGLEnableTextureParameter(CGparameter handle) {
    CgParameterRecord* parameter = Live(handle);
    if (parameter && parameter->kind == ParameterKind::Sampler && parameter->unit >= 0) {
        BindTextureUnit(parameter->unit, parameter->texture);
    }
}

void cgGLDisableTextureParameter(CGparameter handle) {
    CgParameterRecord* parameter = Live(handle);
    if (parameter && parameter->kind == ParameterKind::Sampler && parameter->unit >= 0) {
        BindTextureUnit(parameter->unit, 0);
    }
}
