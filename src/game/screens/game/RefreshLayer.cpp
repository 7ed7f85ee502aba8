#include "RefreshLayer.h"

RefreshLayer* RefreshLayer::create(std::function<void()> beforeDraw) {
  RefreshLayer* layer = new RefreshLayer(std::move(beforeDraw));
  return cocos2d::ccAutoreleaseIfInit(layer, layer->init());
}

void RefreshLayer::visit() {
  if (isVisible() && beforeDraw_) beforeDraw_();
  CCLayer::visit();
}
