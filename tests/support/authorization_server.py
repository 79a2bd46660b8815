#!/usr/bin/python3
"""A small OAuth 2.0 authorization server for the tests, on 127.0.0.1 only.

Serves discovery (RFC 8414), an authorize endpoint that consents at once
and names itself (RFC 9207), the token endpoint (authorization code with
PKCE S256, refresh token, rotated when asked), introspection (RFC 7662),
revocation (RFC 7009) and dynamic registration (RFC 7591). Under
/<flaw>/.well-known/openid-configuration it serves documents with one flaw
each, as a hostile server would. The test steers it through /test/...:
token lifetime, revocation, rotation, tokens issued without a browser, and
counts of what was asked. Prints "port N" once listening; ends with its
standard input.
"""

import base64
import hashlib
import json
import secrets
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

USER = sys.argv[1] if len(sys.argv) > 1 else "alice"
MAX_BODY = 64 * 1024

lock = threading.Lock()
state = {
    "lifetime": 3600,  # seconds an access token lives
    "clients": {"brindle-test": {"secret": ""}},
    "codes": {},  # code -> client, redirect_uri, challenge, scope
    "access": {},  # token -> username, expiry, scope, client
    "refresh": {},  # token -> username, client, scope, revoked
    "rotate": False,  # each refresh gives a new refresh token and ends the old one
    "counts": {"token": 0, "refresh": 0, "introspect": 0, "register": 0, "authorize": 0,
               "discovery": 0, "revocation": 0},
}

# Documents with one flaw each, by the path before their well-known part.
FLAWS = {
    "foreign-token": lambda base, doc: doc.update(token_endpoint=foreign(base) + "/token"),
    "foreign-registration":
        lambda base, doc: doc.update(registration_endpoint=foreign(base) + "/register"),
    "wrong-issuer": lambda base, doc: doc.update(issuer=base + "/other"),
    "provider-page": lambda base, doc: doc.update(
        authorization_endpoint="https://login.microsoftonline.com/common/oauth2/v2.0/authorize"),
    "no-s256": lambda base, doc: doc.update(code_challenge_methods_supported=["plain"]),
}


def foreign(base):
    """The same port on another loopback host."""
    return base.replace("127.0.0.1", "127.0.0.2")


def issue(client, scope, refresh=None):
    access = secrets.token_urlsafe(24)
    refresh = refresh or secrets.token_urlsafe(24)
    state["access"][access] = {"username": USER, "expiry": time.time() + state["lifetime"],
                               "scope": scope, "client": client}
    state["refresh"].setdefault(refresh, {"username": USER, "client": client, "scope": scope,
                                          "revoked": False})
    return {"access_token": access, "token_type": "Bearer", "expires_in": state["lifetime"],
            "refresh_token": refresh, "scope": scope}


def s256(verifier):
    digest = hashlib.sha256(verifier.encode("ascii")).digest()
    return base64.urlsafe_b64encode(digest).rstrip(b"=").decode("ascii")


class Handler(BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def base(self):
        return "http://127.0.0.1:%d" % self.server.server_address[1]

    def reply(self, status, body, headers=()):
        data = json.dumps(body).encode() if isinstance(body, dict) else body
        self.send_response(status)
        self.send_header("Content-Type", "application/json" if isinstance(body, dict)
                         else "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(data)

    def fields(self):
        query = dict(urllib.parse.parse_qsl(urllib.parse.urlsplit(self.path).query))
        length = int(self.headers.get("Content-Length") or 0)
        if length > MAX_BODY:
            return query, None
        body = self.rfile.read(length) if length else b""
        if self.headers.get("Content-Type", "").startswith("application/json"):
            return query, json.loads(body or b"{}")
        query.update(urllib.parse.parse_qsl(body.decode()))
        return query, None

    def do_GET(self):
        self.route()

    def do_POST(self):
        self.route()

    def route(self):
        path = urllib.parse.urlsplit(self.path).path
        flaw = path.split("/")[1] if path.count("/") > 1 else ""
        if flaw in FLAWS and path == "/%s/.well-known/openid-configuration" % flaw:
            with lock:
                self.discovery({}, None, flaw)
            return
        handler = {
            "/.well-known/openid-configuration": self.discovery,
            "/.well-known/oauth-authorization-server": self.discovery,
            "/authorize": self.authorize,
            "/token": self.token,
            "/introspect": self.introspect,
            "/register": self.register,
            "/revoke": self.revoke_token,
            "/test/rotate": self.set_rotate,
            "/test/lifetime": self.set_lifetime,
            "/test/revoke": self.revoke,
            "/test/issue": self.issue_directly,
            "/test/counts": self.counts,
        }.get(path)
        if handler is None:
            self.reply(404, {"error": "not_found"})
            return
        form, document = self.fields()
        with lock:
            handler(form, document)

    def discovery(self, form, document, flaw=None):
        state["counts"]["discovery"] += 1
        base = self.base()
        answer = {
            "issuer": base + ("/" + flaw if flaw else ""),
            "authorization_endpoint": base + "/authorize",
            "token_endpoint": base + "/token",
            "introspection_endpoint": base + "/introspect",
            "registration_endpoint": base + "/register",
            "revocation_endpoint": base + "/revoke",
            "authorization_response_iss_parameter_supported": True,
            "scopes_supported": ["mail"],
            "response_types_supported": ["code"],
            "grant_types_supported": ["authorization_code", "refresh_token"],
            "code_challenge_methods_supported": ["S256"],
            "token_endpoint_auth_methods_supported": ["none", "client_secret_post"],
        }
        if flaw:
            FLAWS[flaw](base, answer)
        self.reply(200, answer)

    def authorize(self, form, document):
        state["counts"]["authorize"] += 1
        redirect = form.get("redirect_uri", "")
        if (form.get("client_id") not in state["clients"] or form.get("response_type") != "code"
                or not redirect.startswith(("http://127.0.0.1:", "http://[::1]:"))
                or form.get("code_challenge_method") != "S256" or not form.get("code_challenge")):
            self.reply(400, b"bad authorization request")
            return
        code = secrets.token_urlsafe(16)
        state["codes"][code] = {"client": form["client_id"], "redirect_uri": redirect,
                                "challenge": form["code_challenge"],
                                "scope": form.get("scope", "mail")}
        # test_iss: the browser brings an answer that names another server.
        answer = {"code": code, "iss": form.get("test_iss", self.base())}
        if "state" in form:
            answer["state"] = form["state"]
        separator = "&" if "?" in redirect else "?"
        self.reply(302, b"", [("Location", redirect + separator + urllib.parse.urlencode(answer))])

    def client_known(self, form):
        client = state["clients"].get(form.get("client_id"))
        return client is not None and client["secret"] == form.get("client_secret", "")

    def token(self, form, document):
        state["counts"]["token"] += 1
        if not self.client_known(form):
            self.reply(401, {"error": "invalid_client"})
            return
        grant = form.get("grant_type")
        if grant == "authorization_code":
            code = state["codes"].pop(form.get("code", ""), None)
            if (code is None or code["client"] != form["client_id"]
                    or code["redirect_uri"] != form.get("redirect_uri")
                    or s256(form.get("code_verifier", "")) != code["challenge"]):
                self.reply(400, {"error": "invalid_grant"})
                return
            self.reply(200, issue(code["client"], code["scope"]))
        elif grant == "refresh_token":
            state["counts"]["refresh"] += 1
            refresh = state["refresh"].get(form.get("refresh_token", ""))
            if refresh is None or refresh["revoked"] or refresh["client"] != form["client_id"]:
                self.reply(400, {"error": "invalid_grant",
                                 "error_description": "refresh token revoked or unknown"})
                return
            if state["rotate"]:
                refresh["revoked"] = True
                self.reply(200, issue(refresh["client"], refresh["scope"]))
            else:
                self.reply(200, issue(refresh["client"], refresh["scope"], form["refresh_token"]))
        else:
            self.reply(400, {"error": "unsupported_grant_type"})

    def introspect(self, form, document):
        state["counts"]["introspect"] += 1
        token = form.get("token", "")
        header = self.headers.get("Authorization", "")
        if header.lower().startswith("bearer "):
            token = header[7:].strip()
        access = state["access"].get(token)
        if access is None or access["expiry"] < time.time():
            self.reply(200, {"active": False})
            return
        self.reply(200, {"active": True, "username": access["username"],
                         "scope": access["scope"], "client_id": access["client"],
                         "exp": int(access["expiry"]), "token_type": "Bearer"})

    def register(self, form, document):
        state["counts"]["register"] += 1
        if not isinstance(document, dict) or not document.get("redirect_uris"):
            self.reply(400, {"error": "invalid_redirect_uri"})
            return
        client = "client-" + secrets.token_hex(8)
        state["clients"][client] = {"secret": ""}
        answer = dict(document)
        answer.update({"client_id": client, "client_id_issued_at": int(time.time()),
                       "token_endpoint_auth_method": "none"})
        self.reply(201, answer)

    def revoke_token(self, form, document):
        state["counts"]["revocation"] += 1
        refresh = state["refresh"].get(form.get("token", ""))
        if refresh is not None:
            refresh["revoked"] = True
        self.reply(200, b"")

    def set_rotate(self, form, document):
        state["rotate"] = form.get("on") == "1"
        self.reply(200, {"rotate": state["rotate"]})

    def set_lifetime(self, form, document):
        state["lifetime"] = int(form.get("seconds", "3600"))
        self.reply(200, {"lifetime": state["lifetime"]})

    def revoke(self, form, document):
        # One refresh token, or every one when none is named.
        token = form.get("refresh_token")
        for name, refresh in state["refresh"].items():
            if token is None or name == token:
                refresh["revoked"] = True
        self.reply(200, {"revoked": True})

    def issue_directly(self, form, document):
        self.reply(200, issue("brindle-test", form.get("scope", "mail")))

    def counts(self, form, document):
        self.reply(200, dict(state["counts"]))


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("port %d" % server.server_address[1], flush=True)
    sys.stdin.read()  # the test closes it (or ends) to stop the server


if __name__ == "__main__":
    main()
