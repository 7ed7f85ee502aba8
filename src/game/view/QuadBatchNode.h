// Draws the sprites, bitmap-font labels and quad particle systems of every node below
// it with one draw call per texture, in the order of first use of each texture; within
// a texture, in the order a plain visit would draw them. Hidden nodes are skipped, and
// so is every child whose box, widened by the cull margin, lies outside the window.
// A board's element nodes hang below one of these, so a thousand elements cost a few
// draw calls, and only those on screen are filled; the game log's lines share one too.
#pragma once

#include <typeindex>
#include <unordered_map>
#include <vector>

#include "CCGLProgramHolder.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "ccTypes.h"

namespace cocos2d {
class CCTexture2D;
class CCTextureAtlas;
}

class QuadBatchNode : public cocos2d::CCNode,
                      public cocos2d::CCRGBAProtocol,
                      public cocos2d::CCGLProgramHolder {
 public:
  // cullMargin: how far beyond a child's box its drawing may reach (smoke rises).
  static QuadBatchNode* create(float cullMargin);
  ~QuadBatchNode() override;

  void visit() override;

  // Fills the quads of the children that lie on screen; visit() does this and then draws.
  void collectQuads();
  // One batch of the last collection.
  struct Batch {
    cocos2d::CCTexture2D* texture = nullptr;
    cocos2d::ccBlendFunc blend{};
    cocos2d::CCTextureAtlas* atlas = nullptr;  // owned
    bool glyphs = false;  // it holds labels' glyphs: they are drawn on whole pixels
  };
  const std::vector<Batch>& batches() const { return batches_; }
  unsigned int quadCount() const;
  // Children drawn at the last collection (after culling).
  unsigned int childrenDrawn() const { return childrenDrawn_; }

  // CCRGBAProtocol: the opacity scales every quad when drawn (a fading layer passes it
  // down); there is no colour of its own.
  void setColor(const cocos2d::ccColor3B&) override {}
  const cocos2d::ccColor3B& getColor() override;
  GLubyte getOpacity() override { return opacity_; }
  void setOpacity(GLubyte opacity) override { opacity_ = opacity; }
  void setOpacityModifyRGB(bool) override {}
  bool isOpacityModifyRGB() override { return false; }

 private:
  explicit QuadBatchNode(float cullMargin) : cullMargin_(cullMargin) {}
  bool init() override;
  // `glyph`: the node is a glyph of a label.
  void collect(cocos2d::CCNode* node, const cocos2d::CCAffineTransform& toBatch, bool glyph);
  void addQuad(cocos2d::CCTexture2D* texture, const cocos2d::ccBlendFunc& blend,
               cocos2d::ccV3F_C4B_T2F_Quad quad, const cocos2d::CCAffineTransform& toBatch);
  Batch* batchFor(cocos2d::CCTexture2D* texture, const cocos2d::ccBlendFunc& blend);
  // What a node draws by its class: looked up once per class, as a cast costs more than
  // the rest of a node's collection.
  enum class Kind { Other, Sprite, Particles, Label };
  Kind kindOf(cocos2d::CCNode* node);
  // The window in this node's space.
  cocos2d::CCRect visibleRect();

  float cullMargin_;
  GLubyte opacity_ = 255;
  std::vector<Batch> batches_;
  Batch* lastBatch_ = nullptr;
  unsigned int childrenDrawn_ = 0;
  std::vector<cocos2d::ccV3F_C4B_T2F_Quad> scratch_;
  std::unordered_map<std::type_index, Kind> kinds_;
};
