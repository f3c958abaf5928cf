# On a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs the whole test suite offscreen
#   make package builds the Debian package calvora_<version>_<arch>.deb in the build folder
BUILD ?= build
PACKAGES := cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libbenchmark-dev \
            libsqlite3-dev sqlite3 libpq-dev postgresql libqt6sql6-psql fonts-dejavu-core fonts-liberation xvfb xauth poppler-utils \
            dpkg-dev

.PHONY: run test build deps bench package sanitize clean

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

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
