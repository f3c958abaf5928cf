# On a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs the whole test suite offscreen
#   make package builds the Debian package calvora_<version>_<arch>.deb in the build folder
#   make fuzz   builds the fuzz targets with clang in build-fuzz/ and runs each for FUZZ_SECONDS
BUILD ?= build
PACKAGES := cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libbenchmark-dev \
            libsqlite3-dev sqlite3 libpq-dev postgresql libqt6sql6-psql fonts-dejavu-core fonts-liberation xvfb xauth poppler-utils \
            dpkg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n locales

.PHONY: run test build deps bench package sanitize fuzz clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

# ccache, where the machine has it, lets several checkouts of the project share compiled objects.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR ?= $(CURDIR)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/calvora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	cd $(BUILD) && ./bench/calvora_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
	  --benchmark_counters_tabular=true

package: build
	cd $(BUILD) && cpack -G DEB

# The whole project built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# its own, and the whole test suite run there; any report fails the run.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(LAUNCHER) \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS) -O1" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure

# libFuzzer targets built with clang in a folder of their own, each run for FUZZ_SECONDS from the
# corpus kept in fuzz/corpus/<target> (new finds go to the build folder's copy, not the
# repository's). A crash leaves its input in the build folder and fails the run.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := typeddate celltext pagesearch databasefile searchindex
FUZZ_PACKAGES := clang libclang-rt-14-dev

fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ $(LAUNCHER)
	cmake --build $(FUZZ_BUILD)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes/$$t; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  ( cd $(FUZZ_BUILD)/crashes/$$t && ASAN_OPTIONS=detect_leaks=0 \
	    ../../fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    ../../corpus/$$t $(CURDIR)/fuzz/corpus/$$t ) > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1 \
	    || { tail -40 $(FUZZ_BUILD)/fuzz_$$t.log; exit 1; }; \
	  grep -E '^Done [0-9]+ runs' $(FUZZ_BUILD)/fuzz_$$t.log; \
	done

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
