# The two commands of the contract. Both install what is missing first.
.PHONY: test run deps build native native-asan win32 clean

test: deps
	scripts/run-tests

run: deps
	scripts/run-product

deps:
	scripts/install-deps

build: deps
	scripts/run-tests --build-only

clean:
	rm -rf build
