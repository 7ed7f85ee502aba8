#include <gtest/gtest.h>

#include "CCGLProgram.h"
#include "ccShaders.h"
#include "gfx_test_util.h"

using namespace cocos2d;

namespace {

TEST(ShaderProgramTest, AShaderThatDoesNotCompileFailsAndKeepsTheDriversMessage) {
  MV_REQUIRE_VIEW();
  CCGLProgram* program = new CCGLProgram();
  EXPECT_FALSE(program->initWithVertexShaderByteArray("#version 110\nvoid main() { not glsl }\n",
                                                      ccPositionColor_frag));
  EXPECT_FALSE(program->programLog().empty());
  program->release();

  CCGLProgram* good = new CCGLProgram();
  EXPECT_TRUE(good->initWithVertexShaderByteArray(ccPositionColor_vert, ccPositionColor_frag));
  EXPECT_TRUE(good->link());
  good->release();
}

}  // namespace
