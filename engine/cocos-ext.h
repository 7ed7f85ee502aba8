#pragma once

// The engine's extensions in one include: the screen-file reader and the GUI controls.
#include "CCBAnimationManager.h"
#include "CCBFileLoader.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBReader.h"
#include "CCBSelectorResolver.h"
#include "CCControl.h"
#include "CCControlButton.h"
#include "CCControlLoader.h"
#include "CCEditBox.h"
#include "CCEditBoxImpl.h"
#include "CCLabelBMFontLoader.h"
#include "CCLabelTTFLoader.h"
#include "CCLayerLoader.h"
#include "CCMenuItemLoader.h"
#include "CCNodeLoader.h"
#include "CCNodeLoaderLibrary.h"
#include "CCParticleSystemQuadLoader.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCScrollViewLoader.h"
#include "CCSpriteLoader.h"

#define USING_NS_CC_EXT using namespace cocos2d::extension
