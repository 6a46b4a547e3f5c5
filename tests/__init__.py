"""The tests: the test programs of each floor, and the Python checks CTest and
the test run start as modules of this package (python3 -m tests.FOLDER.NAME)."""
