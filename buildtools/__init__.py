"""What ./dev hands its work to: Wine for this project (wine.py), the x86
route (x86_route.py, emulated_wine.py), the stages of the test run
(run_tests.py), the fuzz runs (fuzz.py), headless Chromium
(headless_chromium.py) and the build presets (presets.py).

A package of the source root: ./dev and the build run its modules with the
root on PYTHONPATH (python3 -m buildtools.wine ...), and the packaging, the
tests and the benchmark import them as buildtools.NAME.
"""
