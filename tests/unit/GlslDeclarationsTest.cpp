#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/GlslDeclarations.h"

namespace {
std::string Describe(const std::vector<GlslDeclaration>& declarations) {
    std::string text;
    for (const GlslDeclaration& d : declarations) {
        const char* storage = d.storage == GlslStorage::Uniform     ? "uniform"
                              : d.storage == GlslStorage::Attribute ? "attribute"
                                                                    : "varying";
        text += std::string(storage) + " " + d.type + " " + d.name + ";";
    }
    return text;
}
}  // namespace

TEST(GlslDeclarations, FindsFileScopeParametersInOrder) {
    const std::string source = R"(#version 120
#define SCALE 2.0
// uniform vec3 commentedOut;
/* uniform vec3 alsoCommentedOut;
   attribute float notThere; */
attribute vec4 IN_position;
attribute  vec3   IN_wave ;
uniform highp mat4 ModelViewProj;
uniform vec3 a, b[2], c = vec3(1.0, 2.0, 3.0), d;
varying vec2 texCoord0;
const float kLevel = 1.0;
float helper(float x) { uniform_like(x); return x; }
invariant varying float depth;
uniform sampler2D Base;
void main() {
    vec3 local = vec3(0.0);
    if (true) { float inner = 1.0; }
}
uniform float afterMain;
)";
    EXPECT_EQ("attribute vec4 IN_position;attribute vec3 IN_wave;uniform mat4 ModelViewProj;"
              "uniform vec3 a;uniform vec3 b;uniform vec3 c;uniform vec3 d;"
              "varying vec2 texCoord0;varying float depth;uniform sampler2D Base;"
              "uniform float afterMain;",
              Describe(ParseGlslDeclarations(source)));
}

TEST(GlslDeclarations, EmptyAndUnfinishedSourcesGiveWhatIsComplete) {
    EXPECT_TRUE(ParseGlslDeclarations("").empty());
    EXPECT_TRUE(ParseGlslDeclarations("/* never closed uniform vec3 a;").empty());
    EXPECT_EQ("uniform float x;", Describe(ParseGlslDeclarations("uniform float x; uniform vec3")));
    EXPECT_TRUE(ParseGlslDeclarations("void main() { uniform float x; ").empty());
}

TEST(GlslDeclarations, TypesTellTheirSize) {
    EXPECT_EQ(1, GlslComponentCount("float"));
    EXPECT_EQ(3, GlslComponentCount("vec3"));
    EXPECT_EQ(16, GlslComponentCount("mat4"));
    EXPECT_EQ(0, GlslComponentCount("sampler2D"));
    EXPECT_TRUE(IsGlslSampler("sampler2D"));
    EXPECT_FALSE(IsGlslSampler("vec4"));
}

// The game looks these names up in the shipped programs; a missing one would silently
// give a null handle.
TEST(GlslDeclarations, ShippedProgramsOfferEveryNameTheGameUses) {
    std::map<std::string, std::string> wave;
    for (const GlslDeclaration& d :
         ParseGlslDeclarations(ReadFileBytes(KESTRUN_SOURCE_DIR "/data/Cg/Wave.cg"))) {
        wave[d.name] = d.type;
    }
    EXPECT_EQ("vec4", wave["IN_position"]);
    EXPECT_EQ("vec3", wave["IN_wave"]);
    EXPECT_EQ("mat4", wave["ModelViewProj"]);

    std::map<std::string, std::string> frag;
    for (const GlslDeclaration& d :
         ParseGlslDeclarations(ReadFileBytes(KESTRUN_SOURCE_DIR "/data/Cg/Frag.cg"))) {
        frag[d.name] = d.type;
    }
    for (const char* name : {"globalAmbient", "lightColor", "lightPosition", "eyePosition", "Ke",
                             "Ka", "Kd", "Ks"}) {
        EXPECT_EQ("vec3", frag[name]) << name;
    }
    EXPECT_EQ("float", frag["shininess"]);
    EXPECT_EQ("vec2", frag["texCoord0"]);
    EXPECT_EQ("vec2", frag["texCoord1"]);
    EXPECT_EQ("sampler2D", frag["Base"]);
    EXPECT_EQ("sampler2D", frag["Detail"]);
}
