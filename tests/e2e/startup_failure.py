"""A program whose window cannot be built says why in a message box and ends with a failure
status, instead of ending on an uncaught error."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402


class StartupFailure(unittest.TestCase):
    def test_player_that_refuses_to_start(self):
        env = {"LD_PRELOAD": os.environ["QUORVEL_MPV_REFUSES"],
               # Under the sanitizers the stand-in comes before their runtime; that is meant.
               "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"}
        program = harness.Program().start(env)
        try:
            # The box is up, titled as the program, and the program waits for it.
            self.assertIsNone(program.proc.poll())
            # Return closes the box (pressed again should the first press come too early).
            for _ in range(20):
                harness.xdotool("windowfocus", program.window)
                harness.key("Return")
                if harness.wait_until(lambda: program.proc.poll() is not None, 2):
                    break
            rc = program.proc.wait(30)
            with open(program.output.name, errors="replace") as f:
                out = f.read()
            self.assertEqual(rc, 1, out[-3000:])
            self.assertIn("Quorvel Online TV cannot start: The player could not start: invalid parameter.", out)
            self.assertNotIn("terminate called", out)
        finally:
            program.stop()


if __name__ == "__main__":
    unittest.main()
