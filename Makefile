# Wiremap: `make run` starts the program, `make test` builds and runs every test.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-win
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60
JOBS       ?= 2
CMAKE_GEN  := -G Ninja
# Extra configure options, e.g. CMAKE_FLAGS=-DCMAKE_COMPILE_WARNING_AS_ERROR=ON (CI).
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan bench fuzz fuzz-deps windows windows-deps \
        test-windows format format-check clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/wiremap

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DWIREMAP_SANITIZE=ON -DWIREMAP_BENCH=OFF $(CMAKE_FLAGS)

# Leaks are reported, except those inside the Qt libraries (tests/lsan.supp).
test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Every benchmark program of the build, medians of five runs.
bench: build
	for B in $(BUILD)/bench/bench_*; do \
	  [ -x "$$B" ] || continue; \
	  QT_QPA_PLATFORM=offscreen $$B --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; \
	done

# The libFuzzer targets of fuzz/, built with clang in their own folder; each runs for
# FUZZ_SECONDS on its corpus and prints one line.
fuzz-deps:
	@scripts/install-deps --fuzz

$(FUZZ_BUILD)/build.ninja: | fuzz-deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DWIREMAP_FUZZ=ON

fuzz: fuzz-deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Windows build (MinGW-w64 cross compiler): the core, the exporter and the Windows
# tests, which run under Wine with our own test automation server registered.
windows-deps:
	@scripts/install-deps --windows

$(WIN_BUILD)/build.ninja: | windows-deps
	cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

windows: windows-deps $(WIN_BUILD)/build.ninja
	cmake --build $(WIN_BUILD) -j $(JOBS)

test-windows: windows
	scripts/test-windows $(WIN_BUILD)

FORMAT_FILES = $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h' | grep -v /samples/)

format:
	clang-format -i $(FORMAT_FILES)

format-check:
	clang-format --dry-run -Werror $(FORMAT_FILES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
