# Mirrowvale: `make run` to play, `make test` to run the whole suite.
BUILD_DIR   ?= build
RELEASE_DIR ?= build-release
FUZZ_DIR    ?= build-fuzz
JOBS        ?= $(shell nproc)
CTEST_JOBS  ?= $(shell nproc)
# make fuzz: seconds per target, targets run at once, and which (all when empty).
FUZZ_SECONDS  ?= 45
FUZZ_PARALLEL ?= 3
FUZZ_TARGETS  ?=

.PHONY: all deps configure build release run test bench fuzz clean

all: build

deps:
	@./scripts/setup-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DMV_SANITIZE=ON >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The game, the tools and the benchmarks, optimised and without sanitizers.
release: deps
	@cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DMV_SANITIZE=OFF -DMV_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	@./scripts/start-lobby.sh $(RELEASE_DIR)
	@$(RELEASE_DIR)/bin/mirrowvale

test: build
	@SDL_AUDIODRIVER=dummy LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 xvfb-run -a -s "-screen 0 1280x1024x24" \
	  ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(CTEST_JOBS)

# Benchmarks are measured on the optimised build.
bench: release
	@for b in $(RELEASE_DIR)/bench/*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then echo "== $$b"; "$$b" || exit 1; fi; \
	done

# Every parser and decoder under libFuzzer (clang, ASan, UBSan), in its own build folder.
fuzz:
	@./scripts/setup-deps.sh fuzz
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=Debug -DMV_FUZZ=ON -DMV_SANITIZE=OFF -DMV_BUILD_TESTS=OFF -DMV_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target mv_fuzz_targets
	@./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_PARALLEL) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(FUZZ_DIR)
