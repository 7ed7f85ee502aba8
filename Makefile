# Mirrowvale: `make run` to play, `make test` to run the whole suite.
BUILD_DIR   ?= build
RELEASE_DIR ?= build-release
JOBS        ?= $(shell nproc)
CTEST_JOBS  ?= $(shell nproc)

.PHONY: all deps configure build release run test bench clean

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

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR)
