# make run: install what is missing, build, start the program.
# make test: install what is missing, build, run every test.
# make install [PREFIX=/usr/local] [DESTDIR=...]: install the built program.
# make package: the Debian package build/package/rostelle_<version>_<arch>.deb, built apart with
#   Debian's hardening flags (dpkg-buildflags).
# make package-test: install that package with apt-get, try it, remove it (needs root).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
PACKAGE_DIR ?= $(BUILD_DIR)/package

.PHONY: all deps configure build run test bench fuzz clean install package package-test

all: build

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	./$(BUILD_DIR)/rostelle

test: deps build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package: deps
	tools/package-build.sh $(PACKAGE_DIR) $(JOBS)

package-test: package
	tools/package-test.sh $(PACKAGE_DIR)

bench: deps build
	@for b in $(BUILD_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD_DIR)
