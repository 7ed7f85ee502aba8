#pragma once

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCGeometry.h"

NS_CC_BEGIN

class CCSpriteFrame;
class CCTexture2D;

// One frame of an animation: the sprite frame, how many delay units it lasts, and
// optional user information.
class CCAnimationFrame : public CCObject {
 public:
  CCAnimationFrame();
  virtual ~CCAnimationFrame();
  bool initWithSpriteFrame(CCSpriteFrame* spriteFrame, float delayUnits, CCDictionary* userInfo);
  virtual CCObject* copyWithZone(CCZone* pZone);

  CCSpriteFrame* getSpriteFrame() { return m_pSpriteFrame; }
  void setSpriteFrame(CCSpriteFrame* frame);
  float getDelayUnits() { return m_fDelayUnits; }
  void setDelayUnits(float units) { m_fDelayUnits = units; }
  CCDictionary* getUserInfo() { return m_pUserInfo; }
  void setUserInfo(CCDictionary* info);

 private:
  CCSpriteFrame* m_pSpriteFrame;
  float m_fDelayUnits;
  CCDictionary* m_pUserInfo;
};

// A list of frames played by CCAnimate; its duration is the sum of the frames' delay units
// times the delay per unit.
class CCAnimation : public CCObject {
 public:
  CCAnimation();
  ~CCAnimation();

  static CCAnimation* create();
  // Sprite frames, each lasting one unit of delay seconds.
  static CCAnimation* createWithSpriteFrames(CCArray* arrayOfSpriteFrameNames, float delay = 0.0f);
  // Animation frames.
  static CCAnimation* create(CCArray* arrayOfAnimationFrames, float delayPerUnit, unsigned int loops);

  bool init();
  bool initWithSpriteFrames(CCArray* pFrames, float delay = 0.0f);
  bool initWithAnimationFrames(CCArray* arrayOfAnimationFrames, float delayPerUnit, unsigned int loops);

  void addSpriteFrame(CCSpriteFrame* pFrame);
  void addSpriteFrameWithFileName(const char* pszFileName);
  void addSpriteFrameWithTexture(CCTexture2D* pobTexture, const CCRect& rect);

  float getDuration() { return m_fTotalDelayUnits * m_fDelayPerUnit; }
  float getTotalDelayUnits() { return m_fTotalDelayUnits; }
  float getDelayPerUnit() { return m_fDelayPerUnit; }
  void setDelayPerUnit(float d) { m_fDelayPerUnit = d; }
  CCArray* getFrames() { return m_pFrames; }
  void setFrames(CCArray* frames);
  bool getRestoreOriginalFrame() { return m_bRestoreOriginalFrame; }
  void setRestoreOriginalFrame(bool restore) { m_bRestoreOriginalFrame = restore; }
  unsigned int getLoops() { return m_uLoops; }
  void setLoops(unsigned int loops) { m_uLoops = loops; }

  virtual CCObject* copyWithZone(CCZone* pZone);

 private:
  float m_fTotalDelayUnits;
  float m_fDelayPerUnit;
  CCArray* m_pFrames;
  bool m_bRestoreOriginalFrame;
  unsigned int m_uLoops;
};

NS_CC_END
