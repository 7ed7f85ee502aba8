#include "RefreshLayer.h"

RefreshLayer* RefreshLayer::create(std::function<void()> beforeDraw) {
  RefreshLayer* layer = new RefreshLayer(std::move(beforeDraw));
  if (!layer->init()) {
    delete layer;
    return nullptr;
  }
  layer->autorelease();
  return layer;
}

void RefreshLayer::visit() {
  if (isVisible() && beforeDraw_) beforeDraw_();
  CCLayer::visit();
}
