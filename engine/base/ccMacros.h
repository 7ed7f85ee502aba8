#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "logog/logog.hpp"

#define NS_CC_BEGIN namespace cocos2d {
#define NS_CC_END }
#define USING_NS_CC using namespace cocos2d
#define CC_DLL

#ifndef NULL
#define NULL 0
#endif

#define CC_UNUSED_PARAM(unusedparam) (void)(unusedparam)

#define CC_SAFE_DELETE(p) do { if (p) { delete (p); (p) = 0; } } while (0)
#define CC_SAFE_DELETE_ARRAY(p) do { if (p) { delete[] (p); (p) = 0; } } while (0)
#define CC_SAFE_FREE(p) do { if (p) { free(p); (p) = 0; } } while (0)
#define CC_SAFE_RELEASE(p) do { if (p) { (p)->release(); } } while (0)
#define CC_SAFE_RELEASE_NULL(p) do { if (p) { (p)->release(); (p) = 0; } } while (0)
#define CC_SAFE_RETAIN(p) do { if (p) { (p)->retain(); } } while (0)
#define CC_BREAK_IF(cond) if (cond) break

// Engine messages go to the log; a failed assertion is logged and play goes on.
#define CCLOG(...) LOGOG_DEBUG(__VA_ARGS__)
#define CCLOGINFO(...) LOGOG_INFO(__VA_ARGS__)
#define CCLOGWARN(...) LOGOG_WARN(__VA_ARGS__)
#define CCLOGERROR(...) LOGOG_ERROR(__VA_ARGS__)
#define CCAssert(cond, msg)                                        \
  do {                                                             \
    if (!(cond)) {                                                 \
      LOGOG_ERROR("Assertion failed: %s (%s)", #cond, (msg) ? (msg) : ""); \
    }                                                              \
  } while (0)
#define CC_ASSERT(cond) CCAssert(cond, "")

#define CC_DEGREES_TO_RADIANS(__ANGLE__) ((__ANGLE__) * 0.01745329252f)
#define CC_RADIANS_TO_DEGREES(__ANGLE__) ((__ANGLE__) * 57.29577951f)
#define CCRANDOM_MINUS1_1() ((2.0f * ((float)rand() / RAND_MAX)) - 1.0f)
#define CCRANDOM_0_1() ((float)rand() / RAND_MAX)
#define CC_SWAP(x, y, type) do { type temp = (x); (x) = (y); (y) = temp; } while (0)

#define kCCRepeatForever (UINT_MAX - 1)

// Static constructor: new, init, autorelease; null when init fails.
#define CREATE_FUNC(__TYPE__)                                   \
  static __TYPE__* create() {                                   \
    __TYPE__* pRet = new __TYPE__();                            \
    return ::cocos2d::ccAutoreleaseIfInit(pRet, pRet->init());  \
  }
#define NODE_FUNC(__TYPE__) CREATE_FUNC(__TYPE__)

#define CC_PROPERTY_READONLY(varType, varName, funName) \
 protected:                                             \
  varType varName;                                      \
 public:                                                \
  virtual varType get##funName(void);

#define CC_PROPERTY_READONLY_PASS_BY_REF(varType, varName, funName) \
 protected:                                                         \
  varType varName;                                                  \
 public:                                                            \
  virtual const varType& get##funName(void);

#define CC_PROPERTY(varType, varName, funName) \
 protected:                                    \
  varType varName;                             \
 public:                                       \
  virtual varType get##funName(void);          \
  virtual void set##funName(varType var);

#define CC_PROPERTY_PASS_BY_REF(varType, varName, funName) \
 protected:                                                \
  varType varName;                                         \
 public:                                                   \
  virtual const varType& get##funName(void);               \
  virtual void set##funName(const varType& var);

#define CC_SYNTHESIZE_READONLY(varType, varName, funName) \
 protected:                                               \
  varType varName;                                        \
 public:                                                  \
  virtual varType get##funName(void) const { return varName; }

#define CC_SYNTHESIZE_READONLY_PASS_BY_REF(varType, varName, funName) \
 protected:                                                           \
  varType varName;                                                    \
 public:                                                              \
  virtual const varType& get##funName(void) const { return varName; }

#define CC_SYNTHESIZE(varType, varName, funName)                      \
 protected:                                                           \
  varType varName;                                                    \
 public:                                                              \
  virtual varType get##funName(void) const { return varName; }        \
  virtual void set##funName(varType var) { varName = var; }

#define CC_SYNTHESIZE_PASS_BY_REF(varType, varName, funName)              \
 protected:                                                               \
  varType varName;                                                        \
 public:                                                                  \
  virtual const varType& get##funName(void) const { return varName; }     \
  virtual void set##funName(const varType& var) { varName = var; }

#define CC_SYNTHESIZE_RETAIN(varType, varName, funName)              \
 private:                                                            \
  varType varName;                                                   \
 public:                                                             \
  virtual varType get##funName(void) const { return varName; }       \
  virtual void set##funName(varType var) {                           \
    if (varName != var) {                                            \
      CC_SAFE_RETAIN(var);                                           \
      CC_SAFE_RELEASE(varName);                                      \
      varName = var;                                                 \
    }                                                                \
  }
