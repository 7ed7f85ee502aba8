#pragma once

#include "CCObject.h"

NS_CC_BEGIN

// Accelerometer input. Desktops have none, so nothing is ever delivered; a running layer
// with its accelerometer switch on is the one delegate all the same.
struct CCAcceleration {
  double x, y, z, timestamp;
};

class CCAccelerometerDelegate {
 public:
  virtual ~CCAccelerometerDelegate() {}
  virtual void didAccelerate(CCAcceleration* pAccelerationValue) { CC_UNUSED_PARAM(pAccelerationValue); }
};

class CCAccelerometer {
 public:
  // The one delegate; null for none.
  void setDelegate(CCAccelerometerDelegate* pDelegate) { m_pDelegate = pDelegate; }
  CCAccelerometerDelegate* getDelegate() const { return m_pDelegate; }

 private:
  CCAccelerometerDelegate* m_pDelegate = nullptr;
};

NS_CC_END
