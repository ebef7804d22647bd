# The two commands of the README: `make run` and `make test`. Both install
# what is missing (Debian packages), configure and build into build/.
BUILD      ?= build
# Release binaries for `make install` and `make package`, in a folder of their own.
RELEASE    ?= build-release
FUZZ_BUILD ?= build-fuzz
PACKAGES   := cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libicu-dev libvips-dev libexiv2-dev libseccomp-dev fonts-liberation2 \
              fonts-dejavu-core dbus-daemon desktop-file-utils appstream pkg-config bash-completion zsh fish
# The translations: lupdate and lrelease, their CMake functions, and Qt's own texts (dialog buttons).
PACKAGES   += qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
# The page test's validator comes from npm. A Node.js of another origin brings its
# own npm, and Debian's npm package conflicts with it: asked for only without one.
PACKAGES   += $(if $(shell command -v npm 2>/dev/null),,nodejs npm)
# The gallery pages are browsed in headless Chromium, driven by Debian's Python with selenium.
PACKAGES   += chromium chromium-driver python3-selenium
FUZZ_PACKAGES := clang libclang-rt-14-dev
PACKAGE_PACKAGES := dpkg-dev lintian
FUZZ_SECONDS ?= 300
PREFIX     ?= /usr/local

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all run example test build release deps install package package-test screenshot fuzz fuzz-run bench format clean

all: build

# Installs only what is missing, so a prepared machine starts at once.
define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

# Configured for /usr, where the package puts it; `make install` picks its own prefix.
# Built with the hardening flags Debian builds its packages with (fortify,
# stack protector, relro and bindnow).
HARDENED   := env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
$(RELEASE)/build.ninja: CMakeLists.txt | deps
	$(call install_missing,dpkg-dev)
	CXXFLAGS="$$($(HARDENED) CPPFLAGS) $$($(HARDENED) CXXFLAGS)" CFLAGS="$$($(HARDENED) CPPFLAGS) $$($(HARDENED) CFLAGS)" \
	LDFLAGS="$$($(HARDENED) LDFLAGS)" \
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DTABULON_BUILD_TESTS=OFF -DTABULON_BUILD_BENCH=OFF

release: deps $(RELEASE)/build.ninja
	cmake --build $(RELEASE)

run: build
	$(BUILD)/bin/tabulon

# The batch program on the sample folder, for a quick look at a list.
example: build
	@cd examples && ../$(BUILD)/bin/tabulon-cli -w 3 \
		--entry '<td><img src="{{FILE}}" alt="{{BASE}}"><br>{{INC({{PATH}}{{BASE}}.txt)}}</td>' \
		*.png *.gif

bench: build
	$(BUILD)/bin/engine_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/go_bench
	bash bench/compare.sh $(BUILD)/bin/tabulon-cli
	bash bench/image_sizes.sh $(BUILD)/bin/tabulon-cli
	$(call install_missing,libvips-tools imagemagick exiv2 libimage-exiftool-perl hyperfine)
	MEDIA_CACHE=$(BUILD)/bench-media bash bench/media_compare.sh $(BUILD)/bin/tabulon-cli
	$(call install_missing,fgallery liblcms2-utils)
	MEDIA_CACHE=$(BUILD)/bench-media bash bench/gallery_compare.sh $(BUILD)/bin/tabulon-cli

# libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer.
fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTABULON_FUZZ=ON -DTABULON_BUILD_TESTS=OFF -DTABULON_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD)

fuzz-run: fuzz
	bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Honours PREFIX and DESTDIR: make install PREFIX=/usr DESTDIR=/tmp/pkg
install: release
	cmake --install $(RELEASE) --prefix $(PREFIX) --strip

# The Debian package: $(RELEASE)/tabulon_VERSION-1_ARCH.deb.
package: release
	$(call install_missing,$(PACKAGE_PACKAGES))
	cd $(RELEASE) && cpack -G DEB
	lintian --fail-on error $(RELEASE)/tabulon_*.deb

# Installs the package into this machine, runs the installed programs and
# removes it again (as root).
package-test: package
	bash tests/package_test.sh $(RELEASE)

# The window as a user sees it, under Xvfb: build/screenshot.png, and the same
# at 1.5 and 2 times the size and with a dark palette beside it.
SHOT = xvfb-run -a -s "-screen 0 1600x1200x24" $(BUILD)/bin/window_screenshot
screenshot: build
	$(call install_missing,xvfb xauth)
	$(SHOT) $(BUILD)/screenshot.png examples
	QT_SCALE_FACTOR=1.5 $(SHOT) $(BUILD)/screenshot-1.5x.png examples
	QT_SCALE_FACTOR=2 $(SHOT) $(BUILD)/screenshot-2x.png examples
	$(SHOT) $(BUILD)/screenshot-dark.png examples --dark

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(RELEASE) $(FUZZ_BUILD)
