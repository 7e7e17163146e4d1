# The two commands that matter: `make run` and `make test`.
.PHONY: deps build run test test-default test-asan package format clean

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	@if [ -x build/default/bin/torvane ]; then \
	  build/default/bin/torvane --demo; \
	else \
	  build/default/bin/torvane-cli --help; \
	fi

test-default: deps
	cmake --preset default
	cmake --build --preset default
	ctest --preset default

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test: test-default test-asan

# The Debian package (build/default/torvane_*.deb).
package: build
	cd build/default && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
