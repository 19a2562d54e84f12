# Set-up and everyday commands. `make run` and `make test` install what is
# missing (Debian packages, as root), build, and run.

BUILD    ?= build
ASAN     ?= build-asan
RELEASE  ?= build-release
SANITIZE ?= 1
JOBS     ?= $(shell nproc)

# Debian packages the build, the tests and the Windows bridge need.
PACKAGES := cmake ninja-build g++ make pkg-config git \
  libgtest-dev libgmock-dev libbenchmark-dev libpcre2-dev \
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core \
  clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
# What `make package` needs besides, and what the tests check the installed
# copy and the package with.
PACKAGE_TOOLS := dpkg-dev file
TEST_PACKAGES := $(PACKAGE_TOOLS) desktop-file-utils appstream libxml2-utils shared-mime-info

CMAKE_FLAGS ?=

.PHONY: all deps test-deps package-deps configure build run test test-main test-asan bench bench-deps clean \
  install package

# Where `make install` puts the editor; DESTDIR, when given, is put before it.
PREFIX  ?= /usr/local
DESTDIR ?=

all: build

# $(call install-missing,PACKAGES): installs those not installed (as root), or
# names the command that would and fails.
define install-missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "These packages are missing. Install them as root with:"; \
	    echo "  apt-get update && apt-get install -y $$missing"; \
	    exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

test-deps: deps
	$(call install-missing,$(TEST_PACKAGES))

package-deps: deps
	$(call install-missing,$(PACKAGE_TOOLS))

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure win32
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "There is no display to open the editor on (DISPLAY and WAYLAND_DISPLAY are unset)."; \
	  echo "Run it inside a virtual one instead:  xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/bin/penwick examples/sample.mis

# The programs, their data and the desktop's files: PREFIX/lib/penwick with
# links in PREFIX/bin, the menu entry, icons and the .mis type in PREFIX/share.
# umask 022: the folders made are open to every user whatever the caller's umask.
install: configure win32
	cmake --build $(BUILD) -j $(JOBS) --target penwick penwick-cli
	umask 022 && DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# The Debian package of the same files (below /usr), in $(BUILD)/.
package: package-deps configure win32
	cmake --build $(BUILD) -j $(JOBS) --target penwick penwick-cli
	cd $(BUILD) && umask 022 && cpack
	@ls $(BUILD)/penwick_*.deb

test-main: build test-deps
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The core again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPENWICK_SANITIZE=ON -DPENWICK_GUI=OFF -DPENWICK_BENCH=OFF
	cmake --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

# SANITIZE=0 is the quick local run: the main build's tests only.
ifeq ($(SANITIZE),0)
test: test-main
else
test: test-main test-asan test-fuzz test-tsan
endif

# --- Fuzzing the regular-expression engine ----------------------------------
# libFuzzer needs clang, so this target is built here rather than by the
# (g++) CMake build: random patterns, modifiers, texts and positions for 60 s.
FUZZ         ?= build-fuzz
FUZZ_TIME    ?= 60
FUZZ_SOURCES := tests/fuzz/RegexFuzz.cpp syntax/ecRegExpr.cpp $(wildcard syntax/RegExpr*.cpp) platform/CodePage.cpp
FUZZ_HEADERS := syntax/ecRegExpr.h $(wildcard syntax/RegExpr*.h) platform/CodePage.h

.PHONY: test-fuzz

$(FUZZ)/regex_fuzz: $(FUZZ_SOURCES) $(FUZZ_HEADERS)
	@mkdir -p $(FUZZ)
	clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
	  $(FUZZ_SOURCES) -o $@
# --- end of the fuzzing block -------------------------------------------------

# --- Fuzzing the lexer-file reader -------------------------------------------
# Random texts loaded as lexer files, then saved, loaded and saved again: the
# two saves must agree (tests/fuzz/LexerFileFuzz.cpp; its words in
# tests/fuzz/lexer.dict). The target needs most of the syntax engine, so each
# source compiles to its own object under $(FUZZ)/obj (in parallel under -j),
# with dependency files so that a changed header rebuilds what includes it.
# Not needed: the analysis dump and the string text source (helpers of tests
# and of the command line); of platform/, only the code page, the path form of
# messages and the safe file writer (LexerFile.cpp saves through it).
LEXER_FUZZ_SOURCES  := tests/fuzz/LexerFileFuzz.cpp \
  $(filter-out syntax/AnalysisDump.cpp syntax/StringTextSource.cpp,$(wildcard syntax/*.cpp)) \
  language/MissionLexer.cpp language/MissionLexerData.cpp \
  platform/CodePage.cpp platform/AbsolutePath.cpp platform/posix/SafeFileWriter.cpp
# Objects are named by absolute path, so that FUZZ=build-fuzz and an absolute
# FUZZ name the same targets as the dependency files do.
LEXER_FUZZ_OBJ      := $(abspath $(FUZZ))/obj
LEXER_FUZZ_OBJECTS  := $(patsubst %.cpp,$(LEXER_FUZZ_OBJ)/%.o,$(LEXER_FUZZ_SOURCES))
LEXER_FUZZ_CXXFLAGS := -std=c++20 -O1 -g -I. -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined

$(LEXER_FUZZ_OBJ)/%.o: %.cpp
	@mkdir -p $(dir $@)
	clang++ $(LEXER_FUZZ_CXXFLAGS) -MMD -MP -c $< -o $@

$(FUZZ)/lexer_fuzz: $(LEXER_FUZZ_OBJECTS)
	clang++ -fsanitize=fuzzer,address,undefined $(LEXER_FUZZ_OBJECTS) -pthread -o $@

-include $(LEXER_FUZZ_OBJECTS:.o=.d)
# --- end of the lexer-file fuzzing block ----------------------------------------

# Both fuzzers, $(FUZZ_TIME) seconds each. Without -j on the command line the
# lexer fuzzer's sources still compile $(JOBS) at a time; with it, the
# sub-make shares the caller's job slots.
test-fuzz: deps $(FUZZ)/regex_fuzz
	$(MAKE) --no-print-directory $(if $(filter -j%,$(MAKEFLAGS)),,-j $(JOBS)) $(FUZZ)/lexer_fuzz
	@mkdir -p $(FUZZ)/corpus $(FUZZ)/lexer-corpus
	$(FUZZ)/regex_fuzz -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 $(FUZZ)/corpus tests/fuzz/seeds
	$(FUZZ)/lexer_fuzz -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 -dict=tests/fuzz/lexer.dict \
	  $(FUZZ)/lexer-corpus tests/fuzz/lexer-seeds

# --- ThreadSanitizer lane for the syntax analysis ----------------------------
# The incremental-analysis property test again, with the finishing step on a
# real worker thread, built with -fsanitize=thread in its own build folder.
TSAN ?= build-tsan

.PHONY: test-tsan

test-tsan: deps
	cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPENWICK_GUI=OFF -DPENWICK_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread
	cmake --build $(TSAN) -j $(JOBS) --target test_mission_incremental
	TSAN_OPTIONS=halt_on_error=1 GTEST_FILTER='*FinishingThread*' ctest --test-dir $(TSAN) --output-on-failure -R '^test_mission_incremental$$'
# --- end of the ThreadSanitizer block -------------------------------------------

# --- Windows side of the compile command (mingw-w64 cross build) ------------
# penwick-compile-bridge.exe goes beside the programs in $(BUILD)/bin; the
# stand-in compiler and the Win32 session's tests into $(BUILD)/win32, where
# the host build's tests (run by test-main under Wine and Xvfb) find them.
WIN32_BUILD ?= build-win32

.PHONY: win32

win32: deps
	cmake -S platform/win32 -B $(WIN32_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DPENWICK_HOST_BINARY_DIR=$(abspath $(BUILD))
	cmake --build $(WIN32_BUILD) -j $(JOBS)
# --- end of the Windows block -------------------------------------------------

# The programs the HTML export benchmark runs beside penwick-cli; only the
# benchmarks need them, so `make test` never installs them.
BENCH_PACKAGES := libkf5syntaxhighlighting-tools source-highlight

bench-deps: deps
	@missing=$$(for p in $(BENCH_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "The HTML export benchmark compares with these; install them as root with:"; \
	    echo "  apt-get update && apt-get install -y $$missing"; \
	  fi; \
	fi

bench: deps bench-deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(RELEASE) -j $(JOBS) --target bench
	@for b in $(RELEASE)/bench/bin/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN) $(RELEASE) $(FUZZ) $(TSAN) $(WIN32_BUILD)
