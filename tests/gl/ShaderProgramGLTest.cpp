#include "gl/GLTestHelpers.h"
#include "gl/ShaderLoadingException.h"
#include "gl/ShaderProgram.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string dir = "tests/gl/shaders/";
const std::string linkLine = "Erreur lors du liage du shader:\n";

std::string compiling(const std::string& stage, const std::string& file)
{
    return stage + " shader compilation '" + dir + file + "'\n";
}

// Live program and shader names, below a bound well above what the tests use.
int liveProgramsAndShaders()
{
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name)
        live += (glIsProgram(name) ? 1 : 0) + (glIsShader(name) ? 1 : 0);
    return live;
}

} // namespace

// Only the link throws: a missing file or a compile failure is logged and the
// pair goes on to the link, which fails and names both paths.
TEST(ShaderProgram, MissingFileCompileFailureAndLinkFailureLogInOrderThrowAtLinkAndLeaveNoNameBehind)
{
    struct Case {
        std::string vertex, fragment;
        std::string head; // how the log starts
        std::vector<std::string> then; // found after it, in this order
    };
    const Case cases[] = {
        { "missing.vert", "good.frag",
            "Fail to open '" + dir + "missing.vert': No such file or directory\n" + compiling("Vertex", "missing.vert"),
            { linkLine } },
        // The compiler's own words sit between the compilation line and "Failed".
        { "broken.vert", "good.frag", compiling("Vertex", "broken.vert"),
            { "error", "\nFailed\n" + compiling("Fragment", "good.frag") + linkLine } },
        { "mismatch.vert", "mismatch.frag",
            compiling("Vertex", "mismatch.vert") + compiling("Fragment", "mismatch.frag") + linkLine, { "shade" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vertex);
        const int before = liveProgramsAndShaders();
        MergedLog log;
        EXPECT_EQ(thrownBy<ShaderLoadingException>([&] { ShaderProgram program(dir + c.vertex, dir + c.fragment); }),
            "Exception received (Fail to create the shader: " + dir + c.vertex + " " + dir + c.fragment + " Linking)");
        const std::string text = log.text();
        ASSERT_EQ(text.substr(0, c.head.size()), c.head) << text;
        std::size_t at = c.head.size();
        for (const std::string& part : c.then) {
            at = text.find(part, at);
            ASSERT_NE(at, std::string::npos) << part << " in " << text;
        }
        EXPECT_EQ(liveProgramsAndShaders(), before);
    }
    EXPECT_NO_GL_ERROR();
}

// A sampler a program lacks is a warning and a false result, the texture still
// bound; a program destroyed while current would only be flagged for deletion.
TEST(ShaderProgram, MissingSamplerWarnsAndDestroyingTheCurrentProgramDeletesItAndItsShaders)
{
    LogCapture capture;
    auto program = std::make_unique<ShaderProgram>(dir + "good.vert", dir + "good.frag");
    const GLuint ids[] = { program->id(), program->vertex().id, program->fragment().id };
    Texture2D texture(Resolution { 4, 4 });
    program->use();
    capture.clear();
    EXPECT_FALSE(program->setTexture2D("normalMap", texture, 1));
    EXPECT_EQ(capture.out(), "Fail to get 'normalMap'\ntexture 2D 'normalMap' not found\n");
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), glName(texture.id));
    ShaderProgram::unsetTexture2D(texture, 1);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    glActiveTexture(GL_TEXTURE0);

    program.reset();
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(glIsProgram(ids[0]));
    EXPECT_FALSE(glIsShader(ids[1]));
    EXPECT_FALSE(glIsShader(ids[2]));
    EXPECT_NO_GL_ERROR();
}
