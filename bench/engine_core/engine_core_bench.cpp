// Frame cost of the scheduler and action manager, and of walking and transforming a node tree.
#include <benchmark/benchmark.h>

#include "CCActionInterval.h"
#include "CCAutoreleasePool.h"
#include "CCNode.h"
#include "CCPointExtension.h"
#include "CCScheduler.h"

using namespace cocos2d;

static void BM_ActionsPerFrame(benchmark::State& state) {
  CCNode* root = CCNode::create();
  root->retain();
  root->onEnter();
  for (int i = 0; i < state.range(0); ++i) {
    CCNode* n = CCNode::create();
    root->addChild(n);
    n->runAction(CCRepeatForever::create(
        CCSequence::create(CCMoveBy::create(0.5f, ccp(10, 0)), CCScaleTo::create(0.5f, 2.0f), NULL)));
  }
  CCPoolManager::sharedPoolManager()->pop();
  for (auto _ : state) {
    CCScheduler::sharedScheduler()->update(1.0f / 60);
    CCPoolManager::sharedPoolManager()->pop();
  }
  root->onExit();
  root->cleanup();
  root->release();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ActionsPerFrame)->Arg(100)->Arg(1000);

static void BM_VisitAndWorldTransforms(benchmark::State& state) {
  CCNode* root = CCNode::create();
  root->retain();
  std::vector<CCNode*> leaves;
  for (int i = 0; i < state.range(0); ++i) {
    CCNode* mid = CCNode::create();
    mid->setPosition(ccp(i, i));
    mid->setRotation(i % 90);
    root->addChild(mid, i % 7);
    CCNode* leaf = CCNode::create();
    leaf->setScale(1.5f);
    mid->addChild(leaf);
    leaves.push_back(leaf);
  }
  CCPoolManager::sharedPoolManager()->pop();
  for (auto _ : state) {
    root->visit();
    for (CCNode* leaf : leaves) benchmark::DoNotOptimize(leaf->convertToWorldSpace(ccp(1, 1)));
  }
  root->release();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VisitAndWorldTransforms)->Arg(1000);

BENCHMARK_MAIN();
