# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
BUILD_UI_ASAN ?= build-ui-asan
BUILD_REL  ?= build-release
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
PREFIX     ?= /usr/local
CMAKE_GEN  := -G Ninja

.PHONY: run test test-asan test-tsan test-ui-asan fuzz bench build deps clean format release install package

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 300

# Core tests again under AddressSanitizer + UndefinedBehaviorSanitizer (no Qt in this build).
test-asan: deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSORANO_BUILD_UI=OFF \
	  -DSORANO_BUILD_BENCH=OFF -DSORANO_SANITIZE=address,undefined
	cmake --build $(BUILD_ASAN)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -L core --timeout 600

# Core tests under ThreadSanitizer.
test-tsan: deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD_TSAN) -DCMAKE_BUILD_TYPE=Debug -DSORANO_BUILD_UI=OFF \
	  -DSORANO_BUILD_BENCH=OFF -DSORANO_SANITIZE=thread
	cmake --build $(BUILD_TSAN)
	cd $(BUILD_TSAN) && TSAN_OPTIONS="suppressions=$(CURDIR)/tests/sanitizers/tsan.supp" \
	  ctest --output-on-failure -L core --timeout 600

# The desktop layer (windows, panes, dialogs, the queued calls of the download worker) and the whole
# program under Xvfb, under AddressSanitizer + UBSan. Only leaks inside Qt's and the system's own
# libraries are suppressed (tests/sanitizers/lsan.supp).
test-ui-asan: deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD_UI_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSORANO_BUILD_BENCH=OFF \
	  -DSORANO_SANITIZE=address,undefined
	cmake --build $(BUILD_UI_ASAN) --target test_ui test_ui_gfx sorano sorano-feed e2e_check_candles
	cd $(BUILD_UI_ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS="suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0" \
	  ctest --output-on-failure -L 'ui|e2e' --timeout 600

# Every parser under libFuzzer (clang, ASan + UBSan), each harness for FUZZ_SECONDS; FUZZ=name runs
# only that one. A crash, a hang or a broken property fails; its input is kept in
# $(BUILD_FUZZ)/fuzz-artifacts.
fuzz: deps
	@scripts/install-deps fuzz
	cmake $(CMAKE_GEN) -S . -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS -DSORANO_BUILD_UI=OFF -DSORANO_BUILD_BENCH=OFF \
	  -DSORANO_SANITIZE=address,undefined -DSORANO_FUZZ=ON
	cmake --build $(BUILD_FUZZ) --target fuzzers
	scripts/run-fuzz $(BUILD_FUZZ) $(FUZZ_SECONDS) $(FUZZ)

# The frame benchmark in a Release build: the least of five repetitions of every figure.
# BENCH_ARGS passes more options (e.g. BENCH_ARGS=--benchmark_filter=BM_Frame).
bench: deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD_REL) -DCMAKE_BUILD_TYPE=Release -DSORANO_BUILD_UI=ON
	cmake --build $(BUILD_REL) --target bench_frame
	$(BUILD_REL)/bench_frame --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
	  $(BENCH_ARGS) | grep -v -e '_mean ' -e '_median ' -e '_stddev ' -e '_cv '

# The three programs built for use, in the Release build folder of the benchmark.
release: deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD_REL) -DCMAKE_BUILD_TYPE=Release -DSORANO_BUILD_UI=ON
	cmake --build $(BUILD_REL) --target sorano sorano-cli sorano-feed

# make install [PREFIX=/usr/local] [DESTDIR=/staging/root]
install: release
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_REL) --prefix "$(PREFIX)" --strip

# The Debian package sorano_<version>_<arch>.deb in $(BUILD_REL).
package: release
	cd $(BUILD_REL) && cpack -G DEB

# The program on a demo settings file and data folder under $(BUILD)/demo, against a local sorano-feed.
run: build
	scripts/run-demo $(BUILD)

format:
	find src tools tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_UI_ASAN) $(BUILD_REL) $(BUILD_FUZZ)
