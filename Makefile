# Everything a fresh Debian 12 or Ubuntu machine needs: `make run` and `make test`.
BUILD       ?= build
SAN_BUILD   ?= build-sanitize
FUZZ_BUILD  ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS     ?= fuzz_json fuzz_document fuzz_tar fuzz_extract
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test test-sanitize fuzz bench package check-install clean

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

# Each libFuzzer harness for FUZZ_SECONDS, one after the other, starting from the seed corpus in
# fuzz/corpus/<harness>/; what they learn stays in $(FUZZ_BUILD)/corpus, findings go to
# $(FUZZ_BUILD)/artifacts. Needs clang, so it has its own configure; CI does not run it.
fuzz:
	@scripts/setup.sh fuzz
	[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DGLYPHBOOK_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@set -e; for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f $(FUZZ_BUILD)/artifacts/$$f; \
		echo "== $$f for $(FUZZ_SECONDS) s"; \
		ASAN_SYMBOLIZER_PATH=$$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer) \
		$(FUZZ_BUILD)/bin/$$f -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -rss_limit_mb=2048 \
			-timeout=10 -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$f/ \
			$(FUZZ_BUILD)/corpus/$$f fuzz/corpus/$$f; \
	done

# A Debian package of the programs, help page and example (build/glyphbook_*.deb).
package: build
	cd $(BUILD) && cpack

# Installs into a scratch folder and checks the installed files (CI runs it).
check-install: build
	scripts/check-install.sh $(BUILD)

bench: build
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
