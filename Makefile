# The two entry points: `make demo` and `make test`. Both install what they need first.
.PHONY: deps demo test build clean

deps:
	scripts/install-deps.sh

build: deps
	scripts/build.sh native win64 win32

demo: deps
	scripts/build.sh win64
	demo/run-demo.sh

test: deps
	scripts/test-all.sh

clean:
	rm -rf build demo-output
