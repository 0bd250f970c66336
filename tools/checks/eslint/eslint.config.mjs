// The lint rules for the JavaScript under web/ (tools/checks/check-js.sh):
// ESLint's recommended set. The page's scripts run in the browser (sw.js as
// the service worker); the .mjs files run in Node and hand functions to the
// page through the test driver, so they see both sets of globals.
import js from "@eslint/js";
import globals from "globals";

// Globals of the page: the game's Emscripten runtime, the page's own
// namespace (shared by its scripts), and what the tests set or read in it
// (elements by id, a fake gamepad).
const page = {
  Module: "readonly",
  SDL: "readonly",
  FS: "readonly",
  SkyreelPage: "writable",
};
const inPage = { play: "readonly", canvas: "readonly", testPad: "readonly" };

export default [
  js.configs.recommended,
  {
    rules: {
      // A catch that ignores what it caught is often the point.
      "no-unused-vars": ["error", { caughtErrors: "none" }],
    },
  },
  {
    files: ["**/*.js"],
    languageOptions: {
      ecmaVersion: "latest",
      sourceType: "script",
      globals: { ...globals.browser, ...page },
    },
  },
  {
    files: ["**/sw.js"],
    languageOptions: { globals: { ...globals.serviceworker } },
  },
  {
    files: ["**/*.mjs"],
    languageOptions: {
      ecmaVersion: "latest",
      sourceType: "module",
      globals: { ...globals.node, ...globals.browser, ...page, ...inPage },
    },
  },
];
