#pragma once

#include "CCScene.h"
#include "ccTypes.h"

NS_CC_BEGIN

// A scene that shows the change from the running scene to a new one over a time;
// when it finishes, the director replaces it with the new scene.
class CCTransitionScene : public CCScene {
 public:
  CCTransitionScene();
  virtual ~CCTransitionScene();

  static CCTransitionScene* create(float duration, CCScene* scene);
  virtual bool initWithDuration(float duration, CCScene* scene);

  virtual void draw();
  virtual void onEnter();
  virtual void onExit();
  virtual void cleanup();

  // Called at the end of the transition.
  void finish();
  // Makes the new scene visible and hides the old one.
  void hideOutShowIn();

  CCScene* getInScene() const { return m_pInScene; }
  CCScene* getOutScene() const { return m_pOutScene; }
  float getDuration() const { return m_fDuration; }

 protected:
  virtual void sceneOrder();
  void setNewScene(float dt);

  CCScene* m_pInScene = nullptr;
  CCScene* m_pOutScene = nullptr;
  float m_fDuration = 0;
  bool m_bIsInSceneOnTop = true;
  bool m_bIsSendCleanupToScene = false;
};

// Fades the old scene out to a colour, then the new scene in from it.
class CCTransitionFade : public CCTransitionScene {
 public:
  static CCTransitionFade* create(float duration, CCScene* scene, const ccColor3B& color);
  // Through black.
  static CCTransitionFade* create(float duration, CCScene* scene);
  virtual bool initWithDuration(float duration, CCScene* scene, const ccColor3B& color);
  virtual bool initWithDuration(float duration, CCScene* scene);

  virtual void onEnter();
  virtual void onExit();

 protected:
  ccColor4B m_tColor;
};

NS_CC_END
