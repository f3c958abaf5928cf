# On a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs the whole test suite offscreen
#   make package builds the Debian package calvora_<version>_<arch>.deb in the build folder
BUILD ?= build
PACKAGES := cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libbenchmark-dev \
            libsqlite3-dev sqlite3 fonts-dejavu-core fonts-liberation xvfb xauth poppler-utils \
            dpkg-dev

.PHONY: run test build deps bench package clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/calvora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	cd $(BUILD) && ./bench/calvora_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
