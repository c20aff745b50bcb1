# Everything a fresh Debian 12 or Ubuntu machine needs: `make run` and `make test`.
BUILD       ?= build
SAN_BUILD   ?= build-sanitize
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test test-sanitize bench clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/glyphbook-creator ]; then $(BUILD)/bin/glyphbook-creator; \
	else $(BUILD)/bin/glyphbook --help; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: setup
	[ -f $(SAN_BUILD)/CMakeCache.txt ] || cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGLYPHBOOK_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
